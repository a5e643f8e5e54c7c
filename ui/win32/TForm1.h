#pragma once

#include "SettlementFields.h"
#include "TForm.h"

// The calculator window: four scores, two side bets and a rate in; the
// 4th-to-1st and 3rd-to-2nd payments out. Its components are those of the
// window description TFORM1, under their names there.
class TForm1 : public TForm, private SettlementFields
{
public:
    // Builds the window, hidden, with its start values. pixelsPerInch 0 means
    // the screen's.
    explicit TForm1(CommandHost &owner, UINT pixelsPerInch = 0);

    HWND GroupBox1, Edit1, Edit2, Edit3, Edit4, Label1, Label2, Label3, Label4;
    HWND GroupBox2, Edit5, Edit6, Edit9, Label5, Label6, Label7, Label11;
    HWND GroupBox3, Edit7, Edit8, Label9, Label10;
    HWND Button1, Button2;

    void FormCreate(HWND Sender);   // start values
    void Button1Click(HWND Sender); // Calculate
    void Button2Click(HWND Sender); // Clear

private:
    std::string ReadText(InputField field) override;
    void WriteText(OutputField field, const std::string &text) override;
};

// The calculator window, once the application has created it.
extern TForm1 *Form1;
