// The identifiers of the wizard's controls, which are also the commands they send to the main window.
// The shell, the pages, the native front end, the tests and the end-to-end driver all name them from here.
#pragma once

constexpr int kCommandClose = 18;         // the main window closes (no control sends it; a command to the window)
constexpr int kBackButtonId = 10000;      // the left-hand button: Exit, Do not accept, Back
constexpr int kNextButtonId = 10001;      // the right-hand button: Next, I Accept, Install, Finish
constexpr int kDictionaryBrowseId = 10004;
constexpr int kDictionaryEditId = 10005;
constexpr int kInstallBrowseId = 10006;
constexpr int kInstallEditId = 10007;
constexpr int kLinkButtonId = 10008;      // the welcome page's link to the sponsor
constexpr int kReadmeButtonId = 10009;    // the finish page's View Readme
constexpr int kLicenceEditId = 10010;
