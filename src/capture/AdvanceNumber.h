#pragma once
#include <QString>

// Adds one to the three-digit number in place, digit by digit from the right with a carry; text
// after the third character is left alone. A character that has to change and is no digit raises
// "Type mismatch" (digits the carry already set to 0 stay so). 999 wraps to 000.
void AdvanceNumber(QString& sNumber);
