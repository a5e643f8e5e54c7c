#include "CalcSettlement.h"

#include "TextToInt.h"

namespace {

std::int32_t ReadInt(SettlementFields &fields, InputField field)
{
    return TextToInt(fields.ReadText(field));
}

} // namespace

Zeny CalcSettlement(SettlementFields &fields)
{
    // Named steps keep the order of reads explicit: argument evaluation order
    // in a single call expression would be unspecified.
    const auto s1 = ReadInt(fields, InputField::Edit1);
    const auto s4 = ReadInt(fields, InputField::Edit4);
    const auto rate1 = ReadInt(fields, InputField::Edit9);
    const auto b1 = ReadInt(fields, InputField::Edit6);
    const Zeny payment1 = CalcPayment(s1, s4, rate1, b1);
    fields.WriteText(OutputField::Edit7, FormatPayment(payment1));

    const auto s2 = ReadInt(fields, InputField::Edit2);
    const auto s3 = ReadInt(fields, InputField::Edit3);
    const auto rate2 = ReadInt(fields, InputField::Edit9);
    const auto b2 = ReadInt(fields, InputField::Edit5);
    fields.WriteText(OutputField::Edit8, FormatPayment(CalcPayment(s2, s3, rate2, b2)));

    return payment1;
}
