#pragma once
// A view: one tab page of the main window, with its own controls, state and handlers. The
// frame (MainWindow) owns the menu, the tabs and the status bar, and talks to each view only
// through View; a view reaches the frame and, through it, the other views only through
// ViewHost. See docs/architecture.md, "Adding a view".
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "app/history_file.h"
#include "app/program_settings.h"
#include "framework/win32/busy_cursor.h"
#include "util/list_controls.h"
#include "wmi/request_worker.h"
#include "wmi/wmi_client.h"

namespace brevane::app::win32 {

class View;

// The commands of the menus and shortcuts that act on what a view shows.
enum class ViewCommand {
  Copy,
  CopyValue,
  SelectAll,
  Find,
  FindNext,
  Export,
  Refresh,
  Stop,
  CopyPowerShell,
};

// The list that find and find again search in a view: a table's rows or a list box's lines.
struct SearchList {
  util::ListViewControl* table = nullptr;
  util::ListBoxControl* lines = nullptr;
};

// What the frame offers its views. Status panels: 0 host, 1 class count, 2 activity.
class ViewHost {
 public:
  virtual HWND Frame() const = 0;  // parent of the views' controls, owner of boxes and menus
  virtual void SetStatus(int panel, const std::string& text) = 0;
  virtual std::string Status(int panel) const = 0;
  virtual void ShowError(const std::string& text) = 0;  // error icon, one OK button
  // The program's settings, read at start-up (the defaults until then).
  virtual const ProgramSettings& Settings() const = 0;
  // Runs a step that arrived from a worker like a message handler: a close that comes while
  // it waits (in a message box) is carried out afterwards.
  virtual void RunAsHandler(const std::function<void()>& step) = 0;
  // A background request started or ended: the cursor over the window follows.
  virtual void BackgroundChanged() = 0;
  // A synchronous task (writing a file) begins or ends: the hourglass stays meanwhile.
  virtual void BeginBusy() = 0;
  virtual void EndBusy() = 0;
  // Connects to a namespace of this or another computer as a connect from the dialog would
  // (the histories take both; every view hears of the change). Another computer gets the
  // user name and password last used on it in this run, or none: never the ones of this one.
  virtual void ConnectTo(const std::string& host, const std::string& nameSpace) = 0;
  // The user name a connection to host would log on with; empty: none.
  virtual std::string UserFor(const std::string& host) const = 0;
  // Cross-view work: selects the query tab (without the effects of a user's choice) and runs
  // the text there.
  virtual void RunQueryOnQueryTab(const std::string& text) = 0;
  // Makes the view the active tab as if the user chose it.
  virtual void Activate(const View& view) = 0;
  // The user chose another namespace of the same computer (the namespace tree): it becomes the
  // current one, goes into the namespace history, and every view hears of the change.
  virtual void ChooseNamespace(const std::string& ns) = 0;

 protected:
  ~ViewHost() = default;
};

class View {
 public:
  virtual ~View() = default;

  virtual std::string Caption() const = 0;  // the tab's caption
  // Creates the controls as children of host.Frame(), hidden until Show.
  virtual void Create(HFONT font, HIMAGELIST images, UINT dpi) = 0;
  // Places the controls in page (the tab control's display area, frame client coordinates).
  virtual void Layout(const RECT& page) = 0;
  // Column widths keep their size in 96-DPI pixels; the controls take the new font.
  virtual void DpiChanged(UINT dpi, UINT previous, HFONT font) = 0;
  virtual void Show(bool shown) = 0;
  virtual void Activated() {}            // the user chose this view's tab
  virtual void Starting() {}             // the window is shown and its start-up sequence begins
  virtual HWND FocusTarget() const = 0;  // where the keyboard focus goes when none is kept

  // The commands the view has at all, whether each can act now (menu items are enabled from
  // that), and running one: fromKeyboard, a shortcut acts on the focused control; else the
  // view's context menu chose it and it acts on the list that menu opened on.
  virtual bool Handles(ViewCommand command) const = 0;
  virtual bool Available(ViewCommand command) const { return Handles(command); }
  virtual void Run(ViewCommand command, bool fromKeyboard) = 0;
  // Find and find again: the list searched, and what follows a hit.
  virtual SearchList Searched() { return {}; }
  virtual void Found() {}

  // Messages from the view's own controls and menu items; true when answered.
  virtual bool OnCommand(int id, int notification, HWND control) = 0;
  virtual bool OnNotify(NMHDR& header, LRESULT& result) = 0;
  virtual bool OnContextMenu(HWND control, POINT point) = 0;

  // The view's drop-down histories, and what counts as used when they are saved.
  virtual void Histories(HistoryCombos& combos) { (void)combos; }
  virtual void SavingHistories() {}

  virtual bool Busy() const { return false; }  // a request of the view runs in the background
  virtual void ConnectionChanged() {}          // host, namespace or credentials changed
  // The window is going: the workers and the connection are gone, no answer comes any more.
  virtual void WorkersStopped() {}
};

// The connection the client's fields describe, for the workers.
inline wmi::ConnectionParams ConnectionOf(const wmi::WmiClient& client) {
  return {client.Host, client.Namespace, client.User, client.Password};
}

// The hourglass for one synchronous task; the previous cursor comes back on every way out, or
// earlier by Restore() before a message box is shown.
class BusyScope {
 public:
  explicit BusyScope(ViewHost& host) : host_(host) { host_.BeginBusy(); }
  ~BusyScope() { Restore(); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
  void Restore() {
    if (!active_) return;
    active_ = false;
    host_.EndBusy();
    cursor_.Restore();
  }

 private:
  ViewHost& host_;
  framework::win32::BusyCursor cursor_;
  bool active_ = true;
};

}  // namespace brevane::app::win32
