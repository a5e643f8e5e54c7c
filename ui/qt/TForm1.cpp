#include "TForm1.h"

#include "Announcer.h"
#include "CalcSettlement.h"
#include "LargeLossNotice.h"
#include "ShowNotice.h"

TForm1 *Form1 = nullptr;

TForm1::TForm1(CommandHost &owner) : TForm(owner)
{
    setupUi(this);
    Loaded();
    BindClick(Button1, &TForm1::Button1Click);
    BindClick(Button2, &TForm1::Button2Click);
    FormCreate(this);
}

void TForm1::FormCreate(QObject *)
{
    for (QLineEdit *edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6})
        edit->setText(QStringLiteral("0"));
    Edit7->clear();
    Edit8->clear();
    Edit9->setText(QStringLiteral("1000"));
}

void TForm1::Button1Click(QObject *)
{
    const Zeny payment = CalcSettlement(*this);
    const std::string notice = ComposeLargeLossNotice(payment);
    if (!notice.empty())
        ShowNotice(QString::fromStdString(notice));
    // The payments land in fields that do not have the focus, where a screen
    // reader would not read them.
    Announcer::Announce(this, PaymentsAnnouncement());
}

QString TForm1::PaymentsAnnouncement() const
{
    return QStringLiteral("%1: ４位から１位へ %2、３位から２位へ %3")
        .arg(GroupBox3->title(), Edit7->text().trimmed(), Edit8->text().trimmed());
}

void TForm1::Button2Click(QObject *)
{
    for (QLineEdit *edit : {Edit1, Edit2, Edit3, Edit4})
        edit->setText(QStringLiteral("0"));
    Edit7->clear();
    Edit8->clear();
}

std::string TForm1::ReadText(InputField field)
{
    // In the order InputField names them.
    QLineEdit *const inputs[] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit9};
    return inputs[static_cast<std::size_t>(field)]->text().toStdString();
}

void TForm1::WriteText(OutputField field, const std::string &text)
{
    QLineEdit *edit = field == OutputField::Edit7 ? Edit7 : Edit8;
    edit->setText(QString::fromStdString(text));
}
