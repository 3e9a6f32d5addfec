#pragma once

// Every numbered message the interface and the program show, by name. The
// texts are in the message file (resources/nrx.msg); a test checks that it
// has each of these.

namespace tavrin::gui::msg {

// Start-up and the shell.
inline constexpr int kCalculationFault = 128;
inline constexpr int kMemoryFault = 129;
inline constexpr int kSaveWhileBusy = 65;
inline constexpr int kGraphNoData = 130;
inline constexpr int kScatterNoData = 132;
inline constexpr int kCannotCreateWindow = 160;
inline constexpr int kDefaultPositionsMissing = 204;
inline constexpr int kNoScratchFiles = 324;
inline constexpr int kOperationRunningTitle = 338;
inline constexpr int kOperationRunning = 339;
inline constexpr int kLineTooLong = 349;
inline constexpr int kWebPageCaption = 400;
inline constexpr int kLongVarCaption = 401;
inline constexpr int kGraphLegends = 4021;  // options: training, verification, test
inline constexpr int kCaption = 4033;
inline constexpr int kDisplayButtonTips = 4034;  // options: send, copy, save
inline constexpr int kBuiltInPrompts = 4046;     // options: the ":WEB Page" and ":Long Var" buttons
inline constexpr int kBoxTitles = 4049;          // options: error, warning, information, fatal
inline constexpr int kStatusPrefixes = 4050;     // options: the status line's prefixes
inline constexpr int kAboutMenu = 4085;
inline constexpr int kAboutCaption = 4086;
inline constexpr int kAboutClose = 4087;

// Menus and the definition file.
inline constexpr int kPathBelowCommand = 397;
inline constexpr int kPathEndsOnCommand = 398;
inline constexpr int kPathEndsOnMenu = 399;
inline constexpr int kValueWithoutParameter = 402;
inline constexpr int kUnknownKeywordWithoutParameter = 403;
inline constexpr int kUnknownKeyword = 404;
inline constexpr int kUnknownParameter = 405;
inline constexpr int kKeywordOutsideDefine = 406;

}  // namespace tavrin::gui::msg
