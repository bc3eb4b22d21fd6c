// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

enum
{
    SCAN_RANGE_FIELDS = 10
};

// The channel scan's data without its window: the numbers of the ten range
// fields, the list the module was asked to scan, the selected channel and the
// rules that keep the fields a list of ascending ranges of the channel plan.
//
// Element 2r of a range list is the start and element 2r + 1 the end of range
// r + 1; 0 is an empty field.
class CScanModel
{
public:
    // The value a number typed into field n is corrected to: into the
    // channel plan, then in order with the field before and the field after.
    // The number is accepted when it comes back unchanged.
    int Corrected(int n, int nTyped) const;

    // All ten fields empty.
    void ClearRanges();
    // The whole plan: 1-124,512-885.
    void SetWholePlan();
    // The scan list built from the fields' texts, the values deciding where
    // it ends; empty when the values do not make a complete list.
    QString ScanList(const QStringList& texts) const;
    // The fields become the list in force; the first channel of its first
    // range is selected.
    void Request();
    // The fields become the part of the list in force between channels a and b.
    void Narrow(int a, int b);

    // The last channel of the list in force (elements 9 down to 1), 0 if none.
    int LastActive() const;
    // The selection steps through the channel plan; false when it cannot.
    bool SelectPrevious();
    bool SelectNext();

    int m_anRange[SCAN_RANGE_FIELDS] = {};
    int m_anActive[SCAN_RANGE_FIELDS] = {};
    int m_nSelected = 0;
    // The channel whose number and level the Channel and Level fields show:
    // the one under the pointer, else the selected one.
    int m_nShown = 0;
    bool m_bScanRequested = false;
};
