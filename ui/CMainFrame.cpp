#include "ui/CMainFrame.h"

#include "ui/AppTexts.h"
#include "ui/CMorvaskView.h"
#include "ui/FrameGeometry.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QString::fromLatin1(AppTexts::kInitialFrameTitle));
    BuildMenu();
    AddUnhandledKeys();
}

void CMainFrame::BuildMenu() {
    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("fileMenu"));
    auto addItem = [this](const char* text, const char* name, QKeySequence key) {
        QAction* action = m_fileMenu->addAction(QString::fromLatin1(text));
        action->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) action->setShortcut(key);
        return action;
    };
    // The text after the tab is shown right-aligned as the item's shortcut.
    m_new = addItem("&New\tCtrl+N", "fileNew_57600", QKeySequence(Qt::CTRL | Qt::Key_N));
    m_open = addItem("&Open...\tCtrl+O", "fileOpen_57601", QKeySequence(Qt::CTRL | Qt::Key_O));
    m_save = addItem("&Save\tCtrl+S", "fileSave_57603", QKeySequence(Qt::CTRL | Qt::Key_S));
    m_saveAs = addItem("Save &As...", "fileSaveAs_57604", {});
    m_fileMenu->addSeparator();
    m_recentPlaceholder = addItem("Recent File", "fileMru_57616", {});
    m_recentPlaceholder->setEnabled(false);
    m_recentSeparator = m_fileMenu->addSeparator();
    m_exit = addItem("E&xit", "appExit_57665", {});
    connect(m_exit, &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::AddUnhandledKeys() {
    // The editing and pane keys of the accelerator table have no command behind them: they
    // are taken so that they reach nothing else, and do nothing.
    const QKeySequence keys[] = {QKeySequence(Qt::CTRL | Qt::Key_Z),
                                 QKeySequence(Qt::CTRL | Qt::Key_X),
                                 QKeySequence(Qt::CTRL | Qt::Key_C),
                                 QKeySequence(Qt::CTRL | Qt::Key_V),
                                 QKeySequence(Qt::ALT | Qt::Key_Backspace),
                                 QKeySequence(Qt::SHIFT | Qt::Key_Delete),
                                 QKeySequence(Qt::CTRL | Qt::Key_Insert),
                                 QKeySequence(Qt::SHIFT | Qt::Key_Insert),
                                 QKeySequence(Qt::Key_F6),
                                 QKeySequence(Qt::SHIFT | Qt::Key_F6)};
    for (const QKeySequence& key : keys) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
}

void CMainFrame::PreCreateWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 800, 600);
    const FrameRect rect = InitialFrameRect(area.width(), area.height());
    move(area.left() + rect.left, area.top() + rect.top);
    resize(rect.width, rect.height);
}

void CMainFrame::SetView(CMorvaskView* view) {
    m_view = view;
    setCentralWidget(view);
    connect(view, &CMorvaskView::RunStateChanged, this, &CMainFrame::OnRunStateChanged);
}

void CMainFrame::SetRecentFiles(const QStringList& paths) {
    for (QAction* entry : m_recentEntries) {
        m_fileMenu->removeAction(entry);
        entry->deleteLater();
    }
    m_recentEntries.clear();
    m_recentPlaceholder->setVisible(paths.isEmpty());
    for (int i = 0; i < paths.size(); ++i) {
        auto* entry =
            new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(paths[i])), m_fileMenu);
        entry->setObjectName(QStringLiteral("fileMru_%1").arg(57616 + i));
        const QString path = paths[i];
        connect(entry, &QAction::triggered, this, [this, path] { emit RecentFileChosen(path); });
        m_fileMenu->insertAction(m_recentSeparator, entry);
        m_recentEntries.append(entry);
    }
}

void CMainFrame::OnRunStateChanged(bool running) {
    // No File command may re-initialise the document under a run. Exit stays: like the close
    // box, it ends the run (the earlier file kept) and then the program.
    for (QAction* action : m_fileMenu->actions())
        if (action != m_recentPlaceholder && action != m_exit) action->setEnabled(!running);
    if (!running && m_bClosePending) {
        m_bClosePending = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The form stays until the run that uses it has ended; the window then closes itself.
    if (m_view && m_view->IsRunning()) {
        m_bClosePending = true;
        m_view->EndRun();
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
