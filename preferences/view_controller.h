#pragma once

// The main window's content: the maximum comment length as a slider with
// its length field and a reset button, the version line, a feedback button,
// and the box that holds the samples workbench.

#include <QVariantMap>
#include <QWidget>
#include <functional>
#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QUrl;

namespace brindlewort {

class SamplesViewController;

class ViewController : public QWidget {
  Q_OBJECT
 public:
  // Makes the workbench to embed; may return nullptr, which leaves the box
  // empty.
  using SampleControllerFactory = std::function<SamplesViewController*(QWidget* parent)>;
  static SampleControllerFactory defaultSampleControllerFactory();

  // The slider goes from 0 ("No limit") to this many characters.
  static constexpr int sliderMaximum = 200;

  // `infoDictionary` is the program's version table, nothing when missing.
  explicit ViewController(std::optional<QVariantMap> infoDictionary,
                          const SampleControllerFactory& makeSampleController = defaultSampleControllerFactory(),
                          QWidget* parent = nullptr);

  QSlider* maxCommentLengthSlider() const { return maxCommentLengthSlider_; }
  QLabel* maxCommentLengthField() const { return maxCommentLengthField_; }
  QLabel* versionField() const { return versionField_; }
  QGroupBox* sampleBox() const { return sampleBox_; }
  QPushButton* resetButton() const { return resetButton_; }
  QPushButton* feedbackButton() const { return feedbackButton_; }
  SamplesViewController* sampleController() const { return sampleController_; }

  QString versionString() const;
  // What opens the feedback mail; the desktop's default mail program
  // unless replaced. Returns false when nothing could be opened.
  using UrlOpener = std::function<bool(const QUrl&)>;
  void setUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }
  const std::optional<QVariantMap>& infoDictionary() const { return infoDictionary_; }

 public slots:
  void maxCommentLengthSliderDidChange();
  void resetToDefault();
  void sendFeedback();

 signals:
  // Something the user asked for did not happen (the feedback mail did not
  // open, the length was not saved), and why, for the window to say.
  void problem(const QString& message);

 private:
  void viewDidLoad();
  void updateMaxCommentLengthField();
  void showStoredMaxCommentLength();

  QSlider* maxCommentLengthSlider_ = nullptr;
  QLabel* maxCommentLengthField_ = nullptr;
  QLabel* versionField_ = nullptr;
  QGroupBox* sampleBox_ = nullptr;
  QPushButton* resetButton_ = nullptr;
  QPushButton* feedbackButton_ = nullptr;
  SamplesViewController* sampleController_ = nullptr;
  std::optional<QVariantMap> infoDictionary_;
  UrlOpener urlOpener_;
  // True while the slider's own value is written, so that the change it
  // posts does not move the slider back to what the file still holds.
  bool writing_ = false;
};

}  // namespace brindlewort
