#include "ui/CMorvaskView.h"

#include "data/CDaoException.h"
#include "settings/QtText.h"
#include "settings/RunFiles.h"
#include "settings/WinePrefix.h"
#include "ui/AppTexts.h"
#include "ui/CExportWorker.h"
#include "ui/CMorvaskDoc.h"
#include "ui/CRunAnnouncer.h"
#include "ui/CValueFieldAccessible.h"
#include "ui/FrameGeometry.h"
#include "ui/IRunContext.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QPushButton>
#include <QUrl>

#include <stdexcept>

namespace {

// The form template's size in dialog units.
constexpr int kFormWidth = 468;
constexpr int kFormHeight = 187;

}  // namespace

CMorvaskView::CMorvaskView(IRunContext& context, CMorvaskDoc& doc, QWidget* parent)
    : QScrollArea(parent), m_context(context), m_doc(doc) {
    setObjectName(QStringLiteral("morvaskView"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    // The form itself takes no focus, so that, as a form does, the window gives it to the
    // first tab stop, "Make adi file", when it is shown: Space starts a run at once.
    setFocusPolicy(Qt::NoFocus);
    BuildForm();
}

CMorvaskView::~CMorvaskView() {
    // The frame never lets the form go while a run uses it; should it happen anyway, the
    // exporter must not outlive the form whose counters it reports to.
    if (m_bRunning) EndRun();
}

QSize CMorvaskView::FormSize() const { return m_units.ToPixels(QSize(kFormWidth, kFormHeight)); }

void CMorvaskView::BuildForm() {
    m_form = new QWidget;
    m_form->setObjectName(QStringLiteral("mainForm"));
    m_form->setFont(CDialogUnits::DialogFont());
    m_form->setFixedSize(FormSize());

    // Created in the template's order, which is also the tab order.
    m_makeAdiFile = new QPushButton(QStringLiteral("Make adi file"), m_form);
    m_makeAdiFile->setObjectName(QStringLiteral("makeAdiFile_1000"));
    m_units.Place(*m_makeAdiFile, 47, 64, 52, 12);
    m_totalQsos = AddValueField("totalQsos_1001", "Total QSOs", 46, 41, 54, 11);
    AddLabel("Total QSOs", 46, 28, 57, 10, Qt::AlignLeft);
    m_notValidQsos = AddValueField("notValidQsos_1002", "Not Valid QSOs", 217, 41, 54, 11);
    AddLabel("Not Valid QSOs", 217, 28, 57, 10, Qt::AlignLeft);
    m_validQsos = AddValueField("validQsos_1004", "Valid QSOs", 131, 41, 54, 11);
    AddLabel("Valid QSOs", 131, 28, 57, 10, Qt::AlignLeft);
    m_sourcePath = AddValueField("sourcePath_1005", "Source mdb file", 114, 110, 320, 12);
    m_refdataPath = AddValueField("refdataPath_1006", "Refdata mdb file", 114, 127, 318, 14);
    AddGroupFrame("countersFrame", "QSO counts", 19, 17, 284, 73);
    m_oprCall = AddValueField("oprCall_1007", "OprCall for this run", 318, 46, 80, 12);
    AddLabel("Source mdb file:", 48, 110, 61, 14, Qt::AlignRight);
    AddLabel("Refdata mdb file:", 48, 126, 61, 12, Qt::AlignRight);
    AddLabel("OprCall for this run:", 318, 32, 87, 10, Qt::AlignLeft);
    AddGroupFrame("oprCallFrame", "Operator call", 306, 17, 110, 45);
    AddGroupFrame("filesFrame", "Files of this run", 19, 96, 426, 75);
    m_adiPath = AddValueField("adiPath_1008", "adi filename", 114, 142, 318, 14);
    AddLabel("adi filename:", 65, 143, 44, 12, Qt::AlignRight);
    m_view = new QPushButton(QStringLiteral("View"), m_form);
    m_view->setObjectName(QStringLiteral("viewAdiFile_1009"));
    m_units.Place(*m_view, 37, 140, 26, 15);
    m_notSameOprCall = AddValueField("notSameOprCall_1003", "Not same OprCall", 217, 70, 54, 11);
    AddLabel("Not same OprCall", 217, 57, 57, 10, Qt::AlignLeft);
    m_startDate = AddValueField("startDate_1015", "Start date", 317, 82, 37, 10, Qt::AlignRight);
    m_endDate = AddValueField("endDate_1016", "End date", 370, 82, 39, 10);
    AddLabel("__", 355, 79, 15, 8, Qt::AlignCenter);
    AddLabel("Date Range filter (optional)", 321, 70, 95, 8, Qt::AlignLeft);
    AddLabel("Not Date Range", 131, 57, 57, 10, Qt::AlignLeft);
    m_notDateRange = AddValueField("notDateRange_1010", "Not Date Range", 131, 70, 54, 11);
    // Takes no room and no focus: it tells assistive technology how each run ended.
    m_announcer = new CRunAnnouncer(m_form);
    m_announcer->SetCounters({m_totalQsos, m_validQsos, m_notValidQsos, m_notDateRange, m_notSameOprCall});

    // Only the two buttons take the focus, and neither is a default button.
    for (QPushButton* button : {m_makeAdiFile, m_view}) {
        button->setAccessibleName(button->text());
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setFocusPolicy(Qt::StrongFocus);
    }
    setWidget(m_form);

    connect(m_makeAdiFile, &QPushButton::clicked, this, &CMorvaskView::OnMakeAdiFile);
    connect(m_view, &QPushButton::clicked, this, &CMorvaskView::OnViewAdiFile);
}

QLabel* CMorvaskView::AddLabel(const char* text, int x, int y, int width, int height, Qt::Alignment align) {
    auto* label = new QLabel(QString::fromLatin1(text), m_form);
    label->setTextFormat(Qt::PlainText);
    // Static texts sit at the top of their box unless they are centred both ways.
    label->setAlignment((align & Qt::AlignVertical_Mask) ? align : align | Qt::AlignTop);
    m_units.Place(*label, x, y, width, height);
    return label;
}

QLabel* CMorvaskView::AddValueField(const char* objectName, const char* caption, int x, int y, int width, int height,
                                    Qt::Alignment align) {
    QLabel* field = AddLabel("", x, y, width, height, align);
    field->setObjectName(QString::fromLatin1(objectName));
    CValueFieldAccessible::Mark(*field, QString::fromLatin1(caption));
    return field;
}

void CMorvaskView::AddGroupFrame(const char* objectName, const char* accessibleName, int x, int y, int width,
                                 int height) {
    auto* frame = new QGroupBox(m_form);
    frame->setObjectName(QString::fromLatin1(objectName));
    // Untitled on the form; a screen reader still hears what it surrounds.
    frame->setAccessibleName(QString::fromLatin1(accessibleName));
    m_units.Place(*frame, x, y, width, height);
    // Beneath the controls it surrounds, so that it never takes their clicks.
    frame->lower();
}

void CMorvaskView::OnInitialUpdate() {
    m_pPrefixSet = &m_doc.PrefixSet();
    m_doc.SetTitle(QString::fromLatin1(AppTexts::kDocumentTitle));

    m_runValues = m_context.Settings();
    m_sourcePath->setText(Q(m_runValues.m_strSourcePath));
    m_refdataPath->setText(Q(m_runValues.m_strRefdataPath));
    m_oprCall->setText(Q(m_runValues.m_strOprCall));
    m_adiPath->setText(Q(m_runValues.m_strAdiPath));
    m_startDate->setText(Q(m_runValues.m_strStartDate));
    m_endDate->setText(Q(m_runValues.m_strEndDate));

    window()->setWindowTitle(Q(AppTexts::MainCaption(m_runValues.m_strOprCall)));

    if (!m_pPrefixSet->IsOpen()) {
        try {
            m_pPrefixSet->Open(m_context.Worker(), m_context.Settings().m_strRefdataPath);
        } catch (const CDaoException& error) {
            // What was set above stays; the frame keeps its size and the next run tries to
            // open the table again.
            m_context.ShowMessage(QString::fromStdString(error.Description()));
            return;
        }
    }
    UpdateData();
    ResizeParentToFit();
}

void CMorvaskView::UpdateData() {
    const std::pair<QLabel*, const std::string*> bound[] = {{m_totalQsos, &m_strTotalQsos},
                                                            {m_notValidQsos, &m_strNotValidQsos},
                                                            {m_validQsos, &m_strValidQsos},
                                                            {m_notSameOprCall, &m_strNotSameOprCall},
                                                            {m_notDateRange, &m_strNotDateRange}};
    for (const auto& [field, member] : bound) field->setText(Q(*member));
}

void CMorvaskView::ResizeParentToFit() {
    auto* frame = qobject_cast<QMainWindow*>(window());
    if (!frame || frame->centralWidget() != this) return;
    if (QLayout* layout = frame->layout()) layout->activate();
    const QSize form = FormSize();
    const FrameSize fitted =
        ShrinkFrameToForm({frame->width(), frame->height()}, {width(), height()}, {form.width(), form.height()});
    frame->resize(fitted.width, fitted.height);
}

void CMorvaskView::ClearCounts() {
    for (std::string* text :
         {&m_strTotalQsos, &m_strNotValidQsos, &m_strValidQsos, &m_strNotSameOprCall, &m_strNotDateRange})
        text->clear();
    UpdateData();
}

void CMorvaskView::ShowCounts(const RunCounts& counts) {
    // std::to_string of a long is "%ld": signed decimal, no padding, no separators.
    m_strTotalQsos = std::to_string(counts.total);
    m_strNotValidQsos = std::to_string(counts.notValid);
    m_strValidQsos = std::to_string(counts.valid);
    m_strNotSameOprCall = std::to_string(counts.notSameOprCall);
    m_strNotDateRange = std::to_string(counts.notDateRange);
    UpdateData();
}

void CMorvaskView::OnMakeAdiFile() {
    // The buttons are disabled during a run; this guards against a click already queued.
    if (m_bRunning) return;
    m_bRunning = true;
    const bool hadFocus = m_makeAdiFile->hasFocus();
    m_makeAdiFile->setEnabled(false);
    m_view->setEnabled(false);
    emit RunStateChanged(true);

    ShowCounts(RunCounts{});
    m_announcer->RunStarted();
    const WorkerOutcome outcome =
        m_context.Worker().Run(m_runValues, [this](const RunCounts& counts) { ShowCounts(counts); });

    // The exporter has ended, so its tables are closed whatever the outcome; the next run
    // opens them afresh and its prefix lookups start from the first row.
    if (m_pPrefixSet) m_pPrefixSet->Close();

    m_bRunning = false;
    m_makeAdiFile->setEnabled(true);
    m_view->setEnabled(true);
    // Disabling the button took the focus away; Space starts the next run as it did this one.
    if (hadFocus) m_makeAdiFile->setFocus(Qt::OtherFocusReason);
    // Counts of a log that changed under every reading are no run's: the counters go back to
    // empty, as before the first run.
    if (outcome.kind == WorkerOutcome::Kind::Failed && outcome.failure.kind == ExportFailure::Kind::LogChanged)
        ClearCounts();
    m_announcer->RunEnded(outcome);
    if (outcome.kind == WorkerOutcome::Kind::Failed) m_context.ShowMessage(QString::fromStdString(outcome.message));
    emit RunStateChanged(false);
}

void CMorvaskView::EndRun() {
    if (m_bRunning) m_context.Worker().Stop();
}

void CMorvaskView::OnViewAdiFile() {
    // The desktop decides what opens the file and reports its own failures; a path that
    // cannot be mapped names no file to hand over.
    std::string hostPath;
    try {
        // The file the run wrote, under the name the run gave it, even where the folder
        // holds another that differs from it only in letter case.
        hostPath = RunFiles::HostPath(m_context.Prefix(), RunFiles::Role::AdifFile, m_runValues.m_strAdiPath);
    } catch (const std::runtime_error&) {
        return;
    }
    if (hostPath.empty()) return;
    m_context.OpenUrl(QUrl::fromLocalFile(Q(hostPath)));
}
