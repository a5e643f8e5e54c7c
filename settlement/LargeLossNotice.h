#pragma once

#include "Payment.h"

#include <string>

// The joke notice for the 4th-placed player when the 4th-to-1st payment is large.
//
// Above 999999 Zeny: the millions notice, seven lines of text art, an empty
// line and ">>４位　<millions>,<hundred-thousands digit>Mはさすがに痛いよ･･･".
// Above 100000 Zeny: the thousands notice, ">>４位　１回で<thousands>kも負けてる",
// an empty line and seven lines of text art. Otherwise, negative payments
// included, an empty text: no notice is due.
//
// The text is UTF-8, nine lines, each ending with CR LF.
std::string ComposeLargeLossNotice(Zeny payment);
