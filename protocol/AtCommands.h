#pragma once

// Ctrl-Z: ends the text of a short message on the data port, in place of CR.
constexpr char AT_END_OF_TEXT[] = "\x1a";
