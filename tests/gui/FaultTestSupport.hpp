#pragma once
// What the fault tests share: status blocks that differ run by run, reading a protocol file
// back with the built `krvdiag-cli dump`, and whether this process still holds a file open.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <string>

#include "core/link/TelegramBuilder.hpp"

namespace krv::gui::test {

// Model 13 with terminal byte 2 = i: every i gives another stored status.
inline link::StatusBlock laufBlock(int i) {
    link::StatusBlock s{};
    s[0] = 0x0D;
    s[2] = static_cast<std::uint8_t>(i);
    return s;
}

// The lines `krvdiag-cli dump` prints for a protocol file; empty (after a test failure) when
// the tool rejects it.
inline QStringList dumpZeilen(const std::string& datei) {
    QProcess dump;
    dump.start(QStringLiteral(KRVDIAG_CLI_PATH), {QStringLiteral("dump"), QString::fromStdString(datei)});
    if (!dump.waitForFinished(10000)) {
        ADD_FAILURE() << "krvdiag-cli dump did not finish";
        return {};
    }
    if (dump.exitStatus() != QProcess::NormalExit || dump.exitCode() != 0) {
        ADD_FAILURE() << "krvdiag-cli dump " << datei << ": " << dump.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(dump.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// The repeat count and the status bytes 2 onwards of the slot line "i time count hexblock".
inline QString slotZaehlerUndKlemmen(const QString& zeile) {
    const QStringList teile = zeile.split(' ');
    if (teile.size() != 5) return zeile;
    return teile[3] + ' ' + teile[4].mid(4, 10);
}

// Whether a descriptor of this process still refers to path: a protocol file the recorder has
// finished is closed, and closing is where it is synced to the disk.
inline bool dateiNochOffen(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path ziel = fs::canonical(path, ec);
    if (ec) return false;
    for (const auto& eintrag : fs::directory_iterator("/proc/self/fd", ec)) {
        std::error_code lesen;
        if (fs::read_symlink(eintrag.path(), lesen) == ziel) return true;
    }
    return false;
}

}  // namespace krv::gui::test
