#pragma once

#include <QString>

// What a format's probe tells of a file from its name and first bytes: whether it is that
// program's file, and when it is but holds no movies, what it holds instead ("books").
struct ProbeResult {
    bool recognised = false;
    QString holds;
};
