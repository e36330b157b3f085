#pragma once

// Command ids of the main frame's menus and bars.
namespace cmd {
inline constexpr unsigned kNewGraphicsPage = 32772;
inline constexpr unsigned kTipOfTheDay = 32773;
inline constexpr unsigned kDeletePage = 32793;
inline constexpr unsigned kScanSetupPage = 32794;
inline constexpr unsigned kDownloadSetup = 32798;
inline constexpr unsigned kCommunicationsSetup = 32799;
inline constexpr unsigned kScanSettings = 32824;
inline constexpr unsigned kEventLog = 32826;
inline constexpr unsigned kToolbars = 32841;
inline constexpr unsigned kMonitorChannel = 32845;
inline constexpr unsigned kUploadSetup = 32850;
inline constexpr unsigned kPreferences = 32855;
inline constexpr unsigned kGraphicsPageFirst = 32875;
inline constexpr unsigned kGraphicsPageLast = 32880;
inline constexpr unsigned kModifyDelete = 32888;
inline constexpr unsigned kImportSetups = 32891;
inline constexpr unsigned kExportSetups = 32892;
inline constexpr unsigned kExportData = 32893;
inline constexpr unsigned kHelpSearch = 32894;
inline constexpr unsigned kPreviousPage = 32904;
inline constexpr unsigned kNextPage = 32905;
inline constexpr unsigned kFileClose = 32902;
inline constexpr unsigned kAddEvent = 32863;
inline constexpr unsigned kDataBrowser = 32853;
inline constexpr unsigned kStripChart = 700;
inline constexpr unsigned kStartScan = 800;
inline constexpr unsigned kStopScan = 801;
inline constexpr unsigned kInstrumentSettings = 802;
inline constexpr unsigned kWelcome = 57328;
inline constexpr unsigned kFileNew = 57600;
inline constexpr unsigned kFileOpen = 57601;
inline constexpr unsigned kFileSave = 57603;
inline constexpr unsigned kFileSaveAs = 57604;
inline constexpr unsigned kPrintSetup = 57606;
inline constexpr unsigned kFilePrint = 57607;
inline constexpr unsigned kFilePrintPreview = 57609;
inline constexpr unsigned kRecentFirst = 57616;
inline constexpr unsigned kRecentLast = 57619;
inline constexpr unsigned kAbout = 57664;
inline constexpr unsigned kExit = 57665;
inline constexpr unsigned kHelpFirst = 57666;
inline constexpr unsigned kHelpLast = 57671;
inline constexpr unsigned kPaneFirst = 59142;
inline constexpr unsigned kPaneLast = 59145;
} // namespace cmd

// Whether a command reaches its handler: a fixed set always does; every other
// command only while there is no document or the document has a setup, so it
// shows disabled until a setup exists.
bool IsCommandRouted(unsigned id, bool hasDocument, bool setupLoaded);
