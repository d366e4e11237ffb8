#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <random>

namespace rc {

// The program's name, the title of its message boxes.
inline const char* const ApplicationTitle = "Ruedecitas";

// Uniform reals in [0, 1) from one generator seeded once, from the clock in the program.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void Randomize() = 0;  // seeds the generator from the system timer
    virtual double Rnd() = 0;      // next value in [0, 1)
};

class ClockRandom : public RandomSource {
  public:
    ClockRandom() = default;
    // A seam for tests that drive the real program from outside: with a fixed seed, Randomize
    // seeds the generator with it instead of the clock, so that the same seed deals the same
    // exercises.
    explicit ClockRandom(std::optional<std::uint64_t> fixedSeed) : fixedSeed_(fixedSeed) {}
    void Randomize() override;
    double Rnd() override;

  private:
    std::mt19937_64 engine_{0};
    std::optional<std::uint64_t> fixedSeed_;
};

// A plain message box with the application's title and one OK button.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual void MsgBox(const QString& text) = 0;
};

class QtMessageBoxes : public MessageBoxes {
  public:
    void MsgBox(const QString& text) override;
};

// The dialog that asks where to save a file.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // The path chosen for a new or existing file, offering `suggestedName` and files matching
    // `filter` ("Texto (*.txt)"); empty when the user cancels.
    virtual QString saveFileName(const QString& title, const QString& suggestedName,
                                 const QString& filter) = 0;
};

// The desktop's save dialog, over the active window, starting in the documents folder (the home
// folder where there is none).
class QtFileDialogs : public FileDialogs {
  public:
    QString saveFileName(const QString& title, const QString& suggestedName,
                         const QString& filter) override;
};

// Puts plain text on the desktop's clipboard.
void setClipboardText(const QString& text);

// The whole screen, in logical pixels, and its logical dots per inch.
struct ScreenMetrics {
    int widthPixels = 800;
    int heightPixels = 600;
    double logicalDpi = 96;
    double twipsPerPixel() const { return 1440.0 / logicalDpi; }
    double widthTwips() const { return widthPixels * twipsPerPixel(); }
    double heightTwips() const { return heightPixels * twipsPerPixel(); }
};

// The primary screen as Qt reports it.
ScreenMetrics primaryScreen();

// Ends the program: the application leaves its event loop.
void endApplication();

// What the windows take from the outside world; tests hand in their own.
struct Platform {
    RandomSource& random;
    MessageBoxes& messages;
    FileDialogs& files;
    ScreenMetrics screen;
};

}  // namespace rc
