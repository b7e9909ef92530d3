#pragma once

#include "settings/CDialogUnits.h"
#include "settings/IRunSettingsDialog.h"
#include "settings/IniReaders.h"
#include "settings/WinePrefix.h"

#include <QDialog>
#include <QIcon>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QLineEdit;
class QPushButton;

// The modal dialog in which the user confirms or changes the run settings before the main
// window exists. It fills itself from the logging program's settings file; two browse
// buttons pick either database with the file-open dialog.
class CRunSettingsDlg : public QDialog, public IRunSettingsDialog {
    Q_OBJECT
public:
    // Shows the file-open dialog over owner, preset with initialName; nullopt when the user
    // cancels it.
    using FileChooser = std::function<std::optional<QString>(QWidget* owner, const QString& initialName)>;

    CRunSettingsDlg(WinePrefix prefix, QIcon icon, QWidget* parent = nullptr);

    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    // Initialises the dialog and shows it; true when it ends with OK.
    bool DoModal() override;
    // The values taken at OK, or those held before it.
    RunSettings Values() const override;

    // Fills the fields from the settings file and the default dates; called when the dialog
    // opens.
    void OnInitDialog();
    void OnBrowseSourceMdb();
    void OnBrowseRefdataMdb();
    void accept() override;

private:
    void BuildDialog();
    QLineEdit* AddEdit(const char* objectName, const char* accessibleName, int x, int y, int width, int height);
    void AddLabel(const char* text, int x, int y, int width, int height);
    void Initialise();
    void ShowMembers();
    void Browse(std::string& member, bool& marker);

    std::string m_strSourcePath;
    std::string m_strRefdataPath;
    std::string m_strOprCall;
    std::string m_strStartDate = kDefaultStartDate;
    std::string m_strEndDate = kDefaultEndDate;
    std::string m_strAdiPath;
    bool m_bBrowseSource = false;
    bool m_bBrowseRefdata = false;
    QIcon m_icon;

    WinePrefix m_prefix;
    FileChooser m_chooseFile;
    CDialogUnits m_units;

    QLineEdit* m_oprCall = nullptr;
    QLineEdit* m_startDate = nullptr;
    QLineEdit* m_endDate = nullptr;
    QLineEdit* m_sourcePath = nullptr;
    QLineEdit* m_refdataPath = nullptr;
};
