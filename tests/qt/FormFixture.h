#pragma once

#include "TApplication.h"
#include "TForm1.h"

#include <QLineEdit>
#include <QtTest>

#include <memory>

// A new calculator window, shown and active, for each test function.
class FormFixture : public QObject
{
    Q_OBJECT

protected:
    static TApplication &App() { return *static_cast<TApplication *>(qApp); }
    std::unique_ptr<TForm1> form;

    QLineEdit *Edit(const QString &name) { return form->findChild<QLineEdit *>(name); }
    // The seven input fields' texts, in the order Edit1..Edit6, Edit9.
    void SetInputs(const QStringList &texts)
    {
        const QStringList names = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit9"};
        for (int i = 0; i < names.size(); ++i)
            Edit(names[i])->setText(texts[i]);
    }

private slots:
    void init()
    {
        form = std::make_unique<TForm1>(App());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() { form.reset(); }
};
