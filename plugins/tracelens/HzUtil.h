// The scope's utility panel: wave files saved and opened through the capture
// cycle, the drive's clear commands, the chart exported as PNG or CSV, and the
// help lines of the language's utility file.
#pragma once

#include "PluginModule.h"

#include <QTimer>
#include <QWidget>
#include <string>

class QComboBox;
class QGroupBox;
class QListWidget;
class QPushButton;

namespace tracelens {

class CTracelensApp;

class CHzUtil : public QWidget {
    Q_OBJECT
public:
    CHzUtil(CTracelensApp& app, PluginModule& module, QWidget* parent);

    // Reloads every text, the clear list and the help lines (language change).
    void ApplyLanguage();
    // One tick of the 50 ms timer (public so tests drive it): answers of the
    // clear commands, a CSV export the cycle has copied, buttons enabled
    // only while the scope is stopped.
    void OnTick();

    void SaveWave();
    void OpenWave();
    void Clear();
    void ExportPng();
    void ExportCsv();

    QPushButton* SaveButton() const { return save_; }
    QPushButton* OpenButton() const { return open_; }
    QPushButton* ClearButton() const { return clear_; }
    QComboBox* ClearChoice() const { return clearChoice_; }
    QListWidget* InfoList() const { return info_; }

private:
    std::string Text(unsigned id) const { return module_.Text(id); }
    void ShowMessage(const std::string& text, unsigned icon);
    void WriteCsv();
    // Writes `contents` to `path` whole, or leaves the old file, and says so.
    void WriteExport(const std::string& path, const std::string& contents);

    CTracelensApp& app_;
    PluginModule& module_;
    QGroupBox* waveGroup_;
    QGroupBox* clearGroup_;
    QGroupBox* exportGroup_;
    QGroupBox* infoGroup_;
    QPushButton* save_;
    QPushButton* open_;
    QComboBox* clearChoice_;
    QPushButton* clear_;
    QPushButton* png_;
    QPushButton* csv_;
    QListWidget* info_;
    QTimer timer_;
    std::string lastWave_;
    std::string lastExport_;
    std::string csvPath_; // waiting for the cycle's copy of the samples
};

} // namespace tracelens
