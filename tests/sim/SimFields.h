// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <map>

// Cuts a trace line the way the panel's report record does: the name at the
// start, then fields separated by runs of blank, comma, tab, colon, equals
// sign, double quote and semicolon.
inline QList<QByteArray> SimFields(const QByteArray& line, const QByteArray& name)
{
    QList<QByteArray> out;
    if (!line.startsWith(name) || line.size() <= name.size())
        return out;
    QByteArray cur;
    for (char c : line.mid(name.size())) {
        if (QByteArray(" ,\t:=\";").contains(c)) {
            if (!cur.isEmpty())
                out << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.isEmpty())
        out << cur;
    return out;
}

// True when every field fits its place: a field of capacity n holds n - 1 characters.
inline bool SimFieldsFit(const QList<QByteArray>& fields, const std::map<int, int>& caps)
{
    for (const auto& [pos, cap] : caps) {
        if (pos < fields.size() && fields[pos].size() >= cap)
            return false;
    }
    return true;
}
