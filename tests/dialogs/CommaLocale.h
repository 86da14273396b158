#pragma once

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <cstdlib>
#include <string>

// Switches LC_NUMERIC to a locale with a decimal comma, as a Qt application started by a
// German user runs, building it from the system's locale sources when it is not installed.
// Restores the previous setting on destruction. Active() is false where neither works.
class CommaLocale {
  public:
    CommaLocale() : m_previous(std::setlocale(LC_NUMERIC, nullptr)) {
        const char* name = "de_DE.UTF-8";
        if (!std::setlocale(LC_NUMERIC, name)) {
            static QTemporaryDir built;  // once per test run
            static const bool made =
                QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", "-c",
                                                QDir(built.path()).filePath(name)}) == 0;
            if (made) setenv("LOCPATH", QFile::encodeName(built.path()).constData(), 1);
            if (!made || !std::setlocale(LC_NUMERIC, name)) return;
        }
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        m_active = std::string(text) == "1,5";
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, m_previous.c_str()); }
    bool Active() const { return m_active; }

  private:
    std::string m_previous;
    bool m_active = false;
};
