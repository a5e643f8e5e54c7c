#pragma once

#include "TApplication.h"
#include "TForm1.h"

#include <QtTest>

#include <memory>

// A new calculator window, shown and active, for each test function.
class FormFixture : public QObject
{
    Q_OBJECT

protected:
    static TApplication &App() { return *static_cast<TApplication *>(qApp); }
    std::unique_ptr<TForm1> form;

private slots:
    void init()
    {
        form = std::make_unique<TForm1>(App());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() { form.reset(); }
};
