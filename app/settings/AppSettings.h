#pragma once

#include <QString>
#include <QStringList>
#include <set>
#include <string>

// Where the user's settings live: QSettings(kOrganisation, kApplication).
inline const QString kOrganisation = QStringLiteral("Velmaro");
inline const QString kApplication = QStringLiteral("Korvane");

// The application's settings, owned by CKorvaneApp and handed to what needs them; the only
// place that reads or writes the user's settings. Of what lives only for the run (the page
// setup's choice, the configuration files already refused) each application has its own.
class AppSettings {
  public:
    static constexpr int kRecentFiles = 4;

    // The last configuration path of the previous run; read when the main frame is made.
    void ReadCfgFile();
    // Kept for the next run, also when empty; written when the main frame is asked to close.
    void WriteCfgFile() const;

    // Newest first, never more than kRecentFiles, read afresh each time (another run of the
    // program may have changed it).
    QStringList RecentFiles() const;
    void AddRecentFile(const QString& path);
    // False when path was not in the list.
    bool RemoveRecentFile(const QString& path);

    // The GIS export's coordinate system last given (empty for none), read afresh each time.
    QString CoordinateSystem() const;
    void SetCoordinateSystem(const QString& crs);

    // True the first time it is asked about path: a configuration file that is not a regular
    // file is refused with a word once per run, silently after that.
    bool FirstRefusal(const std::string& path) { return m_refused.insert(path).second; }

    // The configuration file last loaded or saved by the DXF export settings: new documents
    // start with its settings.
    std::string m_cfgFilePath;
    // Printing at 1:1 scale (0) or fitted to the page (1), for every view; not kept between
    // runs.
    int m_fitToPage = 0;

  private:
    std::set<std::string> m_refused;
};
