#pragma once

#include "cli/RunCounts.h"
#include "settings/CDialogUnits.h"
#include "settings/RunSettings.h"

#include <QScrollArea>
#include <QString>

#include <string>

class CMorvaskDoc;
class CRunAnnouncer;
class CWorkerRecordset;
class IRunContext;
class QLabel;
class QPushButton;

// The main form: the run values chosen at start-up, five counters and the two buttons. It
// fills the frame's client area and scrolls where the frame is smaller than the form.
class CMorvaskView : public QScrollArea {
    Q_OBJECT
public:
    CMorvaskView(IRunContext& context, CMorvaskDoc& doc, QWidget* parent = nullptr);
    ~CMorvaskView() override;

    // Called once the form is attached to its document, before the frame is first shown, and
    // again whenever the document is re-initialised.
    void OnInitialUpdate();
    // Rewrites the five counter fields from the counter texts, the one direction in which
    // this form transfers them.
    void UpdateData();

    // "Make adi file": the export run, synchronous for the caller.
    void OnMakeAdiFile();
    // "View": the output file handed to the desktop's default application.
    void OnViewAdiFile();

    bool IsRunning() const { return m_bRunning; }
    // Ends a run in progress without waiting for it; OnMakeAdiFile then returns.
    void EndRun();

    CWorkerRecordset* GetFormRecordset() const { return m_pPrefixSet; }
    // The form's size in pixels: the template's 468 x 187 dialog units.
    QSize FormSize() const;

signals:
    void RunStateChanged(bool running);

private:
    void BuildForm();
    QLabel* AddLabel(const char* text, int x, int y, int width, int height, Qt::Alignment align);
    // A read-only field whose text the program sets; assistive technology reads it with its
    // caption.
    QLabel* AddValueField(const char* objectName, const char* caption, int x, int y, int width, int height,
                          Qt::Alignment align = Qt::AlignLeft);
    void AddGroupFrame(const char* objectName, const char* accessibleName, int x, int y, int width, int height);
    void ShowCounts(const RunCounts& counts);
    void ClearCounts();
    void ResizeParentToFit();

    IRunContext& m_context;
    CMorvaskDoc& m_doc;
    CDialogUnits m_units;
    QWidget* m_form = nullptr;

    CWorkerRecordset* m_pPrefixSet = nullptr;
    std::string m_strTotalQsos;
    std::string m_strNotValidQsos;
    std::string m_strValidQsos;
    std::string m_strNotSameOprCall;
    std::string m_strNotDateRange;
    // The run values as the initial update copied them from the run settings; the run reads
    // these copies, not the settings.
    RunSettings m_runValues;

    bool m_bRunning = false;

    QPushButton* m_makeAdiFile = nullptr;
    QPushButton* m_view = nullptr;
    QLabel* m_totalQsos = nullptr;
    QLabel* m_notValidQsos = nullptr;
    QLabel* m_validQsos = nullptr;
    QLabel* m_notSameOprCall = nullptr;
    QLabel* m_notDateRange = nullptr;
    QLabel* m_sourcePath = nullptr;
    QLabel* m_refdataPath = nullptr;
    QLabel* m_oprCall = nullptr;
    QLabel* m_adiPath = nullptr;
    QLabel* m_startDate = nullptr;
    QLabel* m_endDate = nullptr;
    CRunAnnouncer* m_announcer = nullptr;
};
