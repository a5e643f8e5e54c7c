#include "CalcSettlement.h"
#include "EConvertError.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// A window without a window: field texts in a map, and a log of every read
// and write in the order they happen.
class FakeFields : public SettlementFields
{
public:
    std::map<InputField, std::string> inputs = {
        {InputField::Edit1, "45000"}, {InputField::Edit2, "35000"}, {InputField::Edit3, "15000"},
        {InputField::Edit4, "5000"},  {InputField::Edit5, "300"},   {InputField::Edit6, "500"},
        {InputField::Edit9, "1000"}};
    std::map<OutputField, std::string> outputs = {{OutputField::Edit7, "old7"},
                                                  {OutputField::Edit8, "old8"}};
    std::vector<std::string> log;

    std::string ReadText(InputField field) override
    {
        log.push_back("read " + Name(field));
        return inputs.at(field);
    }
    void WriteText(OutputField field, const std::string &text) override
    {
        log.push_back(std::string("write ") + (field == OutputField::Edit7 ? "Edit7" : "Edit8"));
        outputs[field] = text;
    }

    static std::string Name(InputField field)
    {
        switch (field) {
        case InputField::Edit1:
            return "Edit1";
        case InputField::Edit2:
            return "Edit2";
        case InputField::Edit3:
            return "Edit3";
        case InputField::Edit4:
            return "Edit4";
        case InputField::Edit5:
            return "Edit5";
        case InputField::Edit6:
            return "Edit6";
        case InputField::Edit9:
            return "Edit9";
        }
        return "?";
    }
};

const std::vector<std::string> kFullOrder = {
    "read Edit1", "read Edit4", "read Edit9", "read Edit6", "write Edit7",
    "read Edit2", "read Edit3", "read Edit9", "read Edit5", "write Edit8"};

TEST(CalcSettlement, ReadsConvertsAndWritesInOrder)
{
    FakeFields fields;
    EXPECT_EQ(CalcSettlement(fields), 40500);
    EXPECT_EQ(fields.log, kFullOrder);
    EXPECT_EQ(fields.outputs[OutputField::Edit7], " 40,500z");
    EXPECT_EQ(fields.outputs[OutputField::Edit8], " 20,300z");
}

TEST(CalcSettlement, StartValuesGiveZeroTwice)
{
    FakeFields fields;
    for (auto &[field, text] : fields.inputs)
        text = field == InputField::Edit9 ? "1000" : "0";
    EXPECT_EQ(CalcSettlement(fields), 0);
    EXPECT_EQ(fields.outputs[OutputField::Edit7], " 0z");
    EXPECT_EQ(fields.outputs[OutputField::Edit8], " 0z");
}

TEST(CalcSettlement, ReturnsTheAmountNotItsText)
{
    FakeFields fields;
    fields.inputs[InputField::Edit1] = "10000";
    fields.inputs[InputField::Edit4] = "20000";
    fields.inputs[InputField::Edit6] = "0";
    EXPECT_EQ(CalcSettlement(fields), -10000);
    EXPECT_EQ(fields.outputs[OutputField::Edit7], " -10,000z");
}

struct BadField
{
    InputField field;
    std::size_t logLength; // entries logged before the error, the failing read included
    bool edit7Written;
};

class CalcSettlementBadField : public testing::TestWithParam<BadField>
{};

TEST_P(CalcSettlementBadField, StopsAtTheFirstBadText)
{
    const BadField &b = GetParam();
    FakeFields fields;
    fields.inputs[b.field] = " 12a ";
    try {
        CalcSettlement(fields);
        FAIL() << "no conversion error";
    } catch (const EConvertError &error) {
        EXPECT_EQ(error.Message(), "' 12a ' は整数ではありません");
    }
    EXPECT_EQ(fields.log,
              std::vector<std::string>(kFullOrder.begin(), kFullOrder.begin() + b.logLength));
    EXPECT_EQ(fields.outputs[OutputField::Edit7], b.edit7Written ? " 40,500z" : "old7");
    EXPECT_EQ(fields.outputs[OutputField::Edit8], "old8");
}

INSTANTIATE_TEST_SUITE_P(
    EachInput, CalcSettlementBadField,
    testing::Values(BadField{InputField::Edit1, 1, false}, BadField{InputField::Edit4, 2, false},
                    BadField{InputField::Edit9, 3, false}, BadField{InputField::Edit6, 4, false},
                    BadField{InputField::Edit2, 6, true}, BadField{InputField::Edit3, 7, true},
                    BadField{InputField::Edit5, 9, true}));

TEST(CalcSettlement, EmptyFieldQuotesNothing)
{
    FakeFields fields;
    fields.inputs[InputField::Edit3] = "";
    EXPECT_THROW(
        {
            try {
                CalcSettlement(fields);
            } catch (const EConvertError &error) {
                EXPECT_EQ(error.Message(), "'' は整数ではありません");
                throw;
            }
        },
        EConvertError);
}

} // namespace
