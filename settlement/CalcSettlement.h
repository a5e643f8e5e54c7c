#pragma once

#include "Payment.h"
#include "SettlementFields.h"

// Settles one game from the window's fields and returns the 4th-to-1st payment.
//
// Field map: scores Edit1..Edit4 (1st..4th), side bets Edit6 (4th to 1st) and
// Edit5 (3rd to 2nd), rate Edit9; payments go to Edit7 (4th to 1st) and Edit8
// (3rd to 2nd). Each text is converted right after it is read, and the 4th-to-1st
// payment is written before any input of the 3rd-to-2nd one is read. So a bad
// text stops the settlement with EConvertError at that field: a payment text
// already written stays, the other field keeps its earlier text.
Zeny CalcSettlement(SettlementFields &fields);
