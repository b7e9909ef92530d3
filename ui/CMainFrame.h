#pragma once

#include <QMainWindow>
#include <QStringList>

#include <functional>

class CMorvaskView;
class QAction;
class QMenu;

// The main window: the File menu, the keyboard accelerators, the application icon and the
// main form as its only content; no toolbar, no status bar.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);

    // Places the frame before it is first shown: centred, each side the mean of the
    // screen's side and 582 x 680 pixels.
    void PreCreateWindow();

    void SetView(CMorvaskView* view);
    CMorvaskView* View() const { return m_view; }

    // Shows the recent-file entries in the File menu, or the greyed placeholder when there
    // are none.
    void SetRecentFiles(const QStringList& paths);

    QAction* NewAction() const { return m_new; }
    QAction* OpenAction() const { return m_open; }
    QAction* SaveAction() const { return m_save; }
    QAction* SaveAsAction() const { return m_saveAs; }
    QAction* ExitAction() const { return m_exit; }

signals:
    void RecentFileChosen(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void AddUnhandledKeys();
    void OnRunStateChanged(bool running);

    CMorvaskView* m_view = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_new = nullptr;
    QAction* m_open = nullptr;
    QAction* m_save = nullptr;
    QAction* m_saveAs = nullptr;
    QAction* m_exit = nullptr;
    QAction* m_recentSeparator = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentEntries;
    bool m_bClosePending = false;
};
