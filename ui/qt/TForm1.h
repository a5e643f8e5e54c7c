#pragma once

#include "SettlementFields.h"
#include "TForm.h"
#include "ui_TForm1.h"

// The calculator window: four scores, two side bets and a rate in; the
// 4th-to-1st and 3rd-to-2nd payments out. Its components are those of the
// window description TFORM1, under their names there (Edit1, Button1, ...).
class TForm1 : public TForm, public Ui::TFORM1, private SettlementFields
{
    Q_OBJECT

public:
    explicit TForm1(CommandHost &owner);

    void FormCreate(QObject *Sender);   // start values
    void Button1Click(QObject *Sender); // Calculate
    void Button2Click(QObject *Sender); // Clear

private:
    // The two payments as a screen reader says them after Calculate.
    QString PaymentsAnnouncement() const;

    std::string ReadText(InputField field) override;
    void WriteText(OutputField field, const std::string &text) override;
};

// The calculator window, once the application has created it.
extern TForm1 *Form1;
