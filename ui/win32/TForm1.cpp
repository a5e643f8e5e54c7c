#include "TForm1.h"

#include "CalcSettlement.h"
#include "LargeLossNotice.h"
#include "ShowNotice.h"
#include "Utf.h"

TForm1 *Form1 = nullptr;

namespace {

std::wstring GetText(HWND edit)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

void SetText(HWND edit, const wchar_t *text)
{
    SetWindowTextW(edit, text);
}

} // namespace

TForm1::TForm1(CommandHost &owner, UINT pixelsPerInch)
    : TForm(owner, L"TForm1", L"TFORM1", pixelsPerInch), GroupBox1(Component(L"GroupBox1")),
      Edit1(Component(L"Edit1")), Edit2(Component(L"Edit2")), Edit3(Component(L"Edit3")),
      Edit4(Component(L"Edit4")), Label1(Component(L"Label1")), Label2(Component(L"Label2")),
      Label3(Component(L"Label3")), Label4(Component(L"Label4")),
      GroupBox2(Component(L"GroupBox2")), Edit5(Component(L"Edit5")), Edit6(Component(L"Edit6")),
      Edit9(Component(L"Edit9")), Label5(Component(L"Label5")), Label6(Component(L"Label6")),
      Label7(Component(L"Label7")), Label11(Component(L"Label11")),
      GroupBox3(Component(L"GroupBox3")), Edit7(Component(L"Edit7")), Edit8(Component(L"Edit8")),
      Label9(Component(L"Label9")), Label10(Component(L"Label10")), Button1(Component(L"Button1")),
      Button2(Component(L"Button2"))
{
    BindClick(Button1, &TForm1::Button1Click);
    BindClick(Button2, &TForm1::Button2Click);
    FormCreate(Handle());
}

void TForm1::FormCreate(HWND)
{
    for (HWND edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6})
        SetText(edit, L"0");
    SetText(Edit7, L"");
    SetText(Edit8, L"");
    SetText(Edit9, L"1000");
}

void TForm1::Button1Click(HWND)
{
    const Zeny payment = CalcSettlement(*this);
    const std::string notice = ComposeLargeLossNotice(payment);
    if (!notice.empty())
        ShowNotice(Owner(), Widen(notice));
}

void TForm1::Button2Click(HWND)
{
    for (HWND edit : {Edit1, Edit2, Edit3, Edit4})
        SetText(edit, L"0");
    SetText(Edit7, L"");
    SetText(Edit8, L"");
}

std::string TForm1::ReadText(InputField field)
{
    // In the order InputField names them.
    const HWND inputs[] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit9};
    return Narrow(GetText(inputs[static_cast<std::size_t>(field)]));
}

void TForm1::WriteText(OutputField field, const std::string &text)
{
    SetWindowTextW(field == OutputField::Edit7 ? Edit7 : Edit8, Widen(text).c_str());
}
