// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "TestAccess.h"
#include "common/PanelHarness.h"
#include "control/TessolyDlg.h"

// A panel on two pseudo-terminals for the tests of this area.
class PanelTest : public ::testing::Test, public PanelHarness
{
protected:
    void SetUp() override { ASSERT_TRUE(OpenPanel()); }
    void TearDown() override { ClosePanel(); }

    QString Text(int id) const { return dlg->GetDlgItemText(id); }
    // Puts the panel into a state without running its step.
    void SetState(int n) { TestAccess::State(*dlg) = n; }
    void Line(const char* psz) { dlg->HandleDataLine(QString::fromLatin1(psz)); }
};
