// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

// A raw pseudo-terminal for the measuring tools: the tool holds the
// non-blocking master end, the program under test opens the slave by path.
struct BenchPty
{
    int master = -1;
    int slave = -1;
    QString path;
    BenchPty()
    {
        char name[256] = {0};
        struct termios tio;
        cfmakeraw(&tio);
        if (openpty(&master, &slave, name, &tio, nullptr) != 0)
            return;
        path = QString::fromLocal8Bit(name);
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~BenchPty()
    {
        ::close(master);
        ::close(slave);
    }
    BenchPty(const BenchPty&) = delete;
    BenchPty& operator=(const BenchPty&) = delete;
};
