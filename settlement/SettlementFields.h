#pragma once

#include <string>

// The fields the settlement reads, by their names in the calculator window.
enum class InputField
{
    Edit1,
    Edit2,
    Edit3,
    Edit4,
    Edit5,
    Edit6,
    Edit9
};

// The two payment fields the settlement writes.
enum class OutputField
{
    Edit7,
    Edit8
};

// What the settlement needs of the window: read an input field's text and
// replace an output field's text. Texts are UTF-8.
class SettlementFields
{
public:
    virtual ~SettlementFields() = default;

    virtual std::string ReadText(InputField field) = 0;
    virtual void WriteText(OutputField field, const std::string &text) = 0;
};
