// Opens every dialog of the six add-ins through their DLLs, as a person would, on the example
// project in the fake IDE: each DLL is connected, its entries are clicked, and controls are placed,
// renamed and deleted on the example's form. Each dialog window is handed to a visitor the first
// time it is on screen, then closed, or answered where the next dialog needs it: the line
// counter's selection with every component ticked, so that its results list is filled, a stored
// piece with a tag, an interface with a property of a type the builder asks about.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wintest {

struct TourResult {
  std::vector<std::wstring> visited;  // "<Add-in> - <caption>", in the order they were shown
  std::vector<std::string> errors;    // steps that failed, each with its add-in
};

// `visit(addin, dialog)` runs inside the message loop that shows the dialog.
TourResult TourEveryDialog(const std::function<void(const std::wstring& addin, HWND dialog)>& visit);

}  // namespace wintest
