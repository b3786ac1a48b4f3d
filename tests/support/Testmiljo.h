#pragma once

#include <QString>
#include <QTemporaryDir>

// A throw-away program folder for one test: holds a copy of the template database
// and Grafik/ as the build lays them beside the executable.
class Testmiljo {
public:
    Testmiljo();
    QString mapp() const { return m_dir.path(); }
    QString fil(const QString& namn) const { return m_dir.filePath(namn); }
    // A fresh copy of the template database under the given name.
    QString kopieraMall(const QString& namn) const;
    // Copies Grafik/ from beside the test executable into this folder.
    void kopieraGrafik() const;
    static QString mallSokvag();
    static bool arRoot();

private:
    QTemporaryDir m_dir;
};
