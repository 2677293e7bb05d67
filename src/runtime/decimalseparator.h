#pragma once

namespace rt {

// The separator every number the program writes uses. The UI layer sets it once from the
// user's locale before any window opens; tests switch it freely.
char decimalSeparator();
void setDecimalSeparator(char c);

} // namespace rt
