// Creation of the frame's controls and its views, and their placement: the window's design is
// laid out in pixels at 96 DPI and scaled to the DPI of the monitor the window is on.
#include <windows.h>
#include <commctrl.h>

#include <array>

#include "app/win32/class_browser_view.h"
#include "app/win32/command_ids.h"
#include "app/win32/main_menu.h"
#include "app/win32/main_window.h"
#include "app/win32/main_window_host.h"
#include "app/win32/query_view.h"
#include "app/win32/view_controls.h"
#include "framework/win32/controls.h"
#include "framework/win32/dpi.h"
#include "wmi/win32/regional_settings_win32.h"

namespace brevane::app::win32 {

namespace {

constexpr std::array<int, 3> kStatusPanelWidths = {120, 90, 200};

void SetStatusPanelWidths(HWND statusBar, UINT dpi) {
  const framework::win32::DpiScale scale(dpi);
  std::array<int, kStatusPanelWidths.size()> widths{};
  for (size_t i = 0; i < widths.size(); ++i) widths[i] = scale(kStatusPanelWidths[i]);
  framework::win32::SetStatusPanels(statusBar, widths.data(), static_cast<int>(widths.size()));
}

}  // namespace

LRESULT MainWindow::OnCreate() {
  dpi_ = framework::win32::DpiScale::ForWindow(Handle()).Dpi();
  // The connection and the workers are set up completely before any request can reach them.
  wmiClient_ = std::make_unique<wmi::WmiClient>(*backend_, wmi::win32::ReadUserRegionalSettings());
  wmiClient_->SetHost("localhost");
  wmiClient_->SetNamespace("root\\cimv2");
  wmiClient_->User.clear();
  wmiClient_->Password.clear();
  dispatcher_ = std::make_shared<framework::win32::UiDispatcher>();
  instanceLoader_ =
      std::make_unique<wmi::InstanceLoader>(backend_, dispatcher_, wmiClient_->Regional());
  instanceLoader_->SetMaxInstances(30000);
  // One count of busy threads per computer for all three, so that the cap holds across them.
  const auto hosts = std::make_shared<wmi::HostThreadCounter>();
  queryWorker_ = std::make_unique<wmi::RequestWorker>(backend_, dispatcher_, hosts);
  classListWorker_ = std::make_unique<wmi::RequestWorker>(backend_, dispatcher_, hosts);
  propertyWorker_ = std::make_unique<wmi::RequestWorker>(backend_, dispatcher_, hosts);
  exploreWorker_ = std::make_unique<wmi::RequestWorker>(backend_, dispatcher_, hosts);
  namespaceWorker_ = std::make_unique<wmi::RequestWorker>(backend_, dispatcher_, hosts);
  methodWorker_ = std::make_unique<wmi::RequestWorker>(backend_, dispatcher_, hosts);
  classBrowser_ = std::make_unique<ClassBrowserView>(*host_, *wmiClient_, *classListWorker_,
                                                     *propertyWorker_, *instanceLoader_);
  classBrowser_->SetExploreWorker(*exploreWorker_);
  classBrowser_->SetNamespaceWorker(*namespaceWorker_);
  queryView_ = std::make_unique<QueryView>(*host_, *wmiClient_, *queryWorker_);
  fanOut_ = std::make_unique<wmi::FanOut>(backend_, dispatcher_, hosts);
  queryView_->SetFanOut(*fanOut_);
  views_ = {classBrowser_.get(), queryView_.get()};

  imageList_ = CreateMainImages(menuBitmaps_);
  SetMenu(Handle(), CreateMainMenu(menuBitmaps_));  // destroyed with the window
  accelerators_ = CreateMainAccelerators();

  font_ = framework::win32::CreateGuiFont(framework::win32::DpiScale(dpi_));
  tabs_ = framework::win32::CreateChild(Handle(), WC_TABCONTROLW, "",
                                        WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, kIdTabs,
                                        font_.Get());
  for (size_t i = 0; i < views_.size(); ++i)
    AddTab(tabs_, static_cast<int>(i), views_[i]->Caption());
  for (View* view : views_) view->Create(font_.Get(), imageList_.Get(), dpi_);
  statusBar_ = framework::win32::CreateChild(
      Handle(), STATUSCLASSNAMEW, "", WS_VISIBLE | SBARS_SIZEGRIP, 0, kIdStatusBar, font_.Get());
  // The tab control only draws the tabs: the views' controls are its siblings and lie above.
  SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetStatusPanelWidths(statusBar_, dpi_);
  LayoutControls();
  return 0;
}

void MainWindow::LayoutControls() {
  if (tabs_ == nullptr || statusBar_ == nullptr) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  SendMessageW(statusBar_, WM_SIZE, 0, 0);
  RECT status{};
  GetWindowRect(statusBar_, &status);
  const int statusHeight = status.bottom - status.top;

  const RECT tabBounds = Bounds(0, 0, client.right, client.bottom - statusHeight);
  framework::win32::MoveChild(tabs_, tabBounds);
  const RECT page = TabPageArea(tabs_, tabBounds);
  const int active = ActiveTab();
  for (size_t i = 0; i < views_.size(); ++i) {
    views_[i]->Layout(page);
    views_[i]->Show(static_cast<int>(i) == active);
  }
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  const UINT previous = dpi_;
  dpi_ = dpi;
  framework::win32::UniqueFont font =
      framework::win32::CreateGuiFont(framework::win32::DpiScale(dpi_));
  for (View* view : views_) view->DpiChanged(dpi, previous, font.Get());
  SetControlsFont({tabs_, statusBar_}, font.Get());
  font_ = std::move(font);  // the old font is freed only once no control uses it
  SetStatusPanelWidths(statusBar_, dpi_);
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutControls();
}

}  // namespace brevane::app::win32
