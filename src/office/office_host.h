#pragma once
// What the office layer needs from the program that runs it: where messages go, the folder new
// books are saved in, the run's choice of application and who is told of a finished book. The
// host installs its own; until then messages go to stderr, new books to the current folder and
// reports use the native engine.

#include <string>

namespace hrdoc::office {

class TOfficeHost {
 public:
  virtual ~TOfficeHost() = default;
  // An error box (caption "Ошибка").
  virtual void ShowError(const std::string& text) = 0;
  // The work folder, ending with a separator, or "".
  virtual std::string WorkDir() = 0;
  // The application reports get when they ask for 0: 0 the native engine, 1 LibreOffice Calc.
  virtual int Backend() = 0;
  // A book saved in the work folder becomes the user's document; returns where it is now.
  // Throws std::runtime_error when it cannot be placed (the saved book stays).
  virtual std::string PlaceDocument(const std::string& path) = 0;
  // A book has been saved for the user to open.
  virtual void DocumentShown(const std::string& path) = 0;
};

// Installs the host (nullptr: the defaults above); the host outlives every server.
void SetOfficeHost(TOfficeHost* host);
TOfficeHost& OfficeHost();

}  // namespace hrdoc::office
