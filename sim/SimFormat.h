#pragma once

#include <QByteArray>
#include <QtGlobal>

// printf-style formatting into a byte array, for the simulated module's
// answers and reports; the text is cut at 511 characters.
QByteArray Fmt(const char* pszFormat, ...) Q_ATTRIBUTE_FORMAT_PRINTF(1, 2);
