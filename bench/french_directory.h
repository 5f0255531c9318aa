// A throwaway program directory for the benchmarks that open windows: the French language
// file and settings for FRF at 6,55957 with a tax of 20,6 and two decimals.
#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

inline const QByteArray kFrenchSettings =
    "[Dialog]\r\nLib_HT=Montant HT\r\nLib_TTC=Montant TTC\r\n\r\n[Taxe]\r\nTitle=TVA\r\nRate=20,6\r\n\r\n"
    "[Currency]\r\nTitle=FRF Franc fran\xe7"
    "ais\r\nRate=6,55957\r\n\r\n[Memory]\r\nTitle=FRF Caisse\r\nCurr=0\r\n"
    "Euro=0\r\n\r\n[Calcul]\r\nNb_Dec=2\r\n\r\n[Windows]\r\nSize=1\r\nCaseEnSaisie=1\r\n";

class FrenchDirectory {
public:
    FrenchDirectory() {
        if (!QFile::copy(QStringLiteral(DEVICAL_DATA_DIR "/Devical.FR"), Path() + "DEVICAL.LAN")) std::abort();
        Write("DEVICAL.INI", kFrenchSettings);
    }
    QString Path() const { return dir_.path() + QLatin1Char('/'); }
    void Write(const QString& name, const QByteArray& bytes) const {
        QFile file(Path() + name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) std::abort();
    }

private:
    QTemporaryDir dir_;
};
