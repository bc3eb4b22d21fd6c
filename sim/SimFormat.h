// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

// printf-style formatting into a byte array, for the simulated module's
// answers and reports; the text is cut at 511 characters.
QByteArray Fmt(const char* pszFormat, ...) Q_ATTRIBUTE_FORMAT_PRINTF(1, 2);

// The phone book's size and the longest number the module takes.
constexpr int MAX_PHONEBOOK = 250;
constexpr int MAX_NUMBER = 40;

// An AT argument without its blanks and enclosing double quotes.
QByteArray Unquote(QByteArray s);
// Digits, "+", "*" and "#", at most MAX_NUMBER of them.
bool IsPhoneNumber(const QByteArray& s);
