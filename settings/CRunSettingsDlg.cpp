#include "settings/CRunSettingsDlg.h"

#include "settings/QtText.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <stdexcept>

namespace {

std::optional<QString> ChooseMdbFile(QWidget* owner, const QString& initialName) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Qervel (*.mdb)"));
    if (!initialName.isEmpty()) dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

}  // namespace

CRunSettingsDlg::CRunSettingsDlg(WinePrefix prefix, QIcon icon, QWidget* parent)
    : QDialog(parent), m_icon(std::move(icon)), m_prefix(std::move(prefix)), m_chooseFile(ChooseMdbFile) {
    setObjectName(QStringLiteral("runSettingsDialog"));
    setWindowTitle(QStringLiteral("Dialog"));
    BuildDialog();
}

void CRunSettingsDlg::BuildDialog() {
    setFont(CDialogUnits::DialogFont());
    setFixedSize(m_units.ToPixels(QSize(451, 164)));

    // Created in tab order: the operator call first, so that it has the focus at opening.
    m_oprCall = AddEdit("oprCall_1004", "OprCall for this run :", 36, 104, 114, 15);
    m_startDate = AddEdit("startDate_1012", "Start Date - YYYYMMDD", 193, 119, 75, 13);
    m_endDate = AddEdit("endDate_1013", "End Date - YYYYMMDD", 327, 119, 75, 13);
    m_sourcePath = AddEdit("sourcePath_1002", "Qervel Source mdb file location :", 36, 29, 307, 15);
    m_refdataPath = AddEdit("refdataPath_1003", "Qervel Refdata mdb file location :", 36, 65, 307, 15);

    auto addButton = [this](const char* text, const char* name, const char* accessible, int x, int y, int width,
                            int height) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAccessibleName(QString::fromLatin1(accessible));
        button->setAutoDefault(false);
        m_units.Place(*button, x, y, width, height);
        return button;
    };
    QPushButton* ok = addButton("OK", "ok_1", "OK", 394, 7, 50, 14);
    ok->setDefault(true);
    QPushButton* cancel = addButton("Cancel", "cancel_2", "Cancel", 394, 24, 50, 14);
    QPushButton* browseSource =
        addButton("...", "browseSourceMdb_1000", "Browse for the Qervel Source mdb file", 349, 28, 20, 16);
    QPushButton* browseRefdata =
        addButton("...", "browseRefdataMdb_1001", "Browse for the Qervel Refdata mdb file", 349, 65, 20, 16);

    AddLabel("Qervel Source mdb file location :", 36, 18, 323, 10);
    AddLabel("Qervel Refdata mdb file location :", 36, 54, 323, 10);
    AddLabel("OprCall for this run :", 36, 92, 117, 10);
    auto* dateFrame = new QGroupBox(QStringLiteral("Date Range -- optional filter"), this);
    dateFrame->setObjectName(QStringLiteral("dateRangeFrame"));
    m_units.Place(*dateFrame, 163, 89, 268, 62);
    dateFrame->lower();
    AddLabel("Start Date - YYYYMMDD", 194, 108, 86, 9);
    AddLabel("End Date - YYYYMMDD", 328, 108, 88, 9);

    connect(ok, &QPushButton::clicked, this, &CRunSettingsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(browseSource, &QPushButton::clicked, this, &CRunSettingsDlg::OnBrowseSourceMdb);
    connect(browseRefdata, &QPushButton::clicked, this, &CRunSettingsDlg::OnBrowseRefdataMdb);
}

QLineEdit* CRunSettingsDlg::AddEdit(const char* objectName, const char* accessibleName, int x, int y, int width,
                                    int height) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setAccessibleName(QString::fromLatin1(accessibleName));
    m_units.Place(*edit, x, y, width, height);
    return edit;
}

void CRunSettingsDlg::AddLabel(const char* text, int x, int y, int width, int height) {
    auto* label = new QLabel(QString::fromLatin1(text), this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_units.Place(*label, x, y, width, height);
}

bool CRunSettingsDlg::DoModal() {
    OnInitDialog();
    return exec() == QDialog::Accepted;
}

RunSettings CRunSettingsDlg::Values() const {
    RunSettings values;
    values.m_strSourcePath = m_strSourcePath;
    values.m_strRefdataPath = m_strRefdataPath;
    values.m_strAdiPath = m_strAdiPath;
    values.m_strOprCall = m_strOprCall;
    values.m_strStartDate = m_strStartDate;
    values.m_strEndDate = m_strEndDate;
    return values;
}

void CRunSettingsDlg::OnInitDialog() {
    Initialise();
    m_oprCall->setFocus(Qt::OtherFocusReason);
}

void CRunSettingsDlg::Initialise() {
    ShowMembers();
    setWindowIcon(m_icon);
    // A refresh after a browse keeps what the settings file gave at opening and what
    // earlier browses chose.
    if (!m_bBrowseSource && !m_bBrowseRefdata) {
        ReadIniDataPath(m_prefix, m_strSourcePath, m_strOprCall);
        ReadIniPgmPath(m_prefix, m_strRefdataPath, m_strAdiPath);
    }
    // The title bar shows the reference database path, not a fixed title.
    setWindowTitle(Q(m_strRefdataPath));
    ShowMembers();
}

void CRunSettingsDlg::ShowMembers() {
    m_sourcePath->setText(Q(m_strSourcePath));
    m_refdataPath->setText(Q(m_strRefdataPath));
    m_oprCall->setText(Q(m_strOprCall));
    m_startDate->setText(Q(m_strStartDate));
    m_endDate->setText(Q(m_strEndDate));
}

void CRunSettingsDlg::OnBrowseSourceMdb() { Browse(m_strSourcePath, m_bBrowseSource); }

void CRunSettingsDlg::OnBrowseRefdataMdb() { Browse(m_strRefdataPath, m_bBrowseRefdata); }

void CRunSettingsDlg::Browse(std::string& member, bool& marker) {
    // The file dialog is preset with the held value, not with what may have been typed
    // since; a Windows path is shown as the file it names on this machine.
    QString initialName = Q(member);
    if (!member.empty()) {
        try {
            initialName = Q(m_prefix.MapToHost(member));
        } catch (const std::runtime_error&) {
            // An unmapped drive: the file dialog gets the name as the user knows it.
        }
    }
    if (const std::optional<QString> chosen = m_chooseFile(this, initialName)) member = chosen->toStdString();
    marker = true;
    Initialise();
    marker = false;
}

void CRunSettingsDlg::accept() {
    // The texts are taken as they stand; whether they are usable is for the caller to say.
    m_strSourcePath = m_sourcePath->text().toStdString();
    m_strRefdataPath = m_refdataPath->text().toStdString();
    m_strOprCall = m_oprCall->text().toStdString();
    m_strStartDate = m_startDate->text().toStdString();
    m_strEndDate = m_endDate->text().toStdString();
    QDialog::accept();
}
