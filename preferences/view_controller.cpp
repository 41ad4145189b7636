#include "preferences/view_controller.h"

#include <QDesktopServices>
#include <QUrl>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/comment_length.h"
#include "preferences/feedback_mail.h"
#include "preferences/length_slider.h"
#include "settings/shared_settings.h"
#include "preferences/version_text.h"
#include "workbench/samples_view_controller.h"

namespace brindlewort {

namespace {

// The slider position for a stored length: no limit sits at 0, a length
// beyond the slider's reach (set by another program) at its far end, and a
// negative one, which wraps as narrowly as possible, at its narrowest.
int sliderValueFor(std::int64_t maxCommentLength) {
  if (maxCommentLength == noCommentLengthLimit) return 0;
  return static_cast<int>(std::clamp<std::int64_t>(maxCommentLength, 1, ViewController::sliderMaximum));
}

}  // namespace

ViewController::SampleControllerFactory ViewController::defaultSampleControllerFactory() {
  return [](QWidget* parent) { return new SamplesViewController(parent); };
}

ViewController::ViewController(std::optional<QVariantMap> infoDictionary,
                               const SampleControllerFactory& makeSampleController, QWidget* parent)
    : QWidget(parent), infoDictionary_(std::move(infoDictionary)) {
  maxCommentLengthSlider_ = new LengthSlider(this);
  maxCommentLengthSlider_->setObjectName(QStringLiteral("maxCommentLengthSlider"));
  maxCommentLengthSlider_->setRange(0, sliderMaximum);
  maxCommentLengthSlider_->setTickInterval(20);
  maxCommentLengthSlider_->setTickPosition(QSlider::TicksBelow);
  maxCommentLengthSlider_->setMinimumWidth(100);
  maxCommentLengthSlider_->setAccessibleName(tr("Maximum comment length"));
  maxCommentLengthSlider_->setToolTip(
      tr("The longest a comment line may be, for this window, brindle and the editor integrations"));

  maxCommentLengthField_ = new QLabel(this);
  maxCommentLengthField_->setObjectName(QStringLiteral("maxCommentLengthField"));
  maxCommentLengthField_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("200 characters ")));

  resetButton_ = new QPushButton(tr("Reset to Default"), this);
  resetButton_->setObjectName(QStringLiteral("resetButton"));
  resetButton_->setToolTip(tr("Back to %1 characters").arg(defaultMaxCommentLength));
  versionField_ = new QLabel(this);
  versionField_->setObjectName(QStringLiteral("versionField"));
  versionField_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A long version text wraps instead of widening the window.
  versionField_->setWordWrap(true);
  feedbackButton_ = new QPushButton(tr("Send Feedback…"), this);
  feedbackButton_->setObjectName(QStringLiteral("feedbackButton"));
  feedbackButton_->setToolTip(tr("Write to the makers in your mail program"));
  sampleBox_ = new QGroupBox(tr("Samples"), this);
  sampleBox_->setObjectName(QStringLiteral("sampleBox"));

  auto* lengthRow = new QHBoxLayout;
  auto* lengthLabel = new QLabel(tr("&Maximum comment length:"), this);
  lengthLabel->setBuddy(maxCommentLengthSlider_);
  lengthRow->addWidget(lengthLabel);
  lengthRow->addWidget(maxCommentLengthSlider_, 1);
  lengthRow->addWidget(maxCommentLengthField_);
  lengthRow->addWidget(resetButton_);

  auto* versionRow = new QHBoxLayout;
  versionRow->addWidget(versionField_, 1);
  versionRow->addWidget(feedbackButton_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lengthRow);
  layout->addWidget(sampleBox_, 1);
  layout->addLayout(versionRow);

  if (makeSampleController) sampleController_ = makeSampleController(this);
  // Tab follows the layout: the length row, the workbench, the version row.
  QWidget* previous = resetButton_;
  QWidget::setTabOrder(maxCommentLengthSlider_, resetButton_);
  if (sampleController_) {
    for (QWidget* next : sampleController_->tabOrder()) {
      QWidget::setTabOrder(previous, next);
      previous = next;
    }
  }
  QWidget::setTabOrder(previous, feedbackButton_);

  connect(maxCommentLengthSlider_, &QSlider::valueChanged, this,
          &ViewController::maxCommentLengthSliderDidChange);
  connect(resetButton_, &QPushButton::clicked, this, &ViewController::resetToDefault);
  connect(feedbackButton_, &QPushButton::clicked, this, &ViewController::sendFeedback);
  // Another program may change the shared value; the slider follows it so
  // that what it shows is never stale.
  connect(&SharedSettings::shared(), &SharedSettings::maxCommentLengthDidChange, this,
          &ViewController::showStoredMaxCommentLength);

  viewDidLoad();
}

void ViewController::viewDidLoad() {
  versionField_->setText(versionString());
  if (sampleController_) {
    // Pinned to all four edges of the box.
    auto* boxLayout = new QVBoxLayout(sampleBox_);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    boxLayout->addWidget(sampleController_);
  }
  showStoredMaxCommentLength();
}

QString ViewController::versionString() const { return brindlewort::versionString(infoDictionary_); }

void ViewController::maxCommentLengthSliderDidChange() {
  const int value = maxCommentLengthSlider_->value();
  const std::int64_t length = value == 0 ? noCommentLengthLimit : value;
  // The workbench wraps at the length chosen even when it cannot be saved.
  if (sampleController_) sampleController_->setUnsavedMaxCommentLength(length);
  writing_ = true;
  const Result<void> saved = SharedSettings::shared().setMaxCommentLength(length);
  writing_ = false;
  updateMaxCommentLengthField();
  if (saved) {
    if (sampleController_) sampleController_->setUnsavedMaxCommentLength(std::nullopt);
  } else {
    // The slider stays where the user put it, and the window says that
    // brindle and the editors still use the old length.
    emit problem(tr("The maximum comment length was not saved: %1. This window uses %2; brindle and the "
                    "editors keep the length saved before.")
                     .arg(QString::fromStdString(saved.error()), maxCommentLengthField_->text()));
  }
}

void ViewController::resetToDefault() {
  if (Result<void> reset = SharedSettings::shared().resetMaxCommentLength(); !reset) {
    emit problem(tr("The maximum comment length was not reset: %1.").arg(QString::fromStdString(reset.error())));
  }
  showStoredMaxCommentLength();
}

void ViewController::showStoredMaxCommentLength() {
  // Our own write posts the change too; the slider already shows it.
  if (writing_) return;
  // A value stored by another program, or a reset, replaces any length this
  // window could not save.
  if (sampleController_) sampleController_->setUnsavedMaxCommentLength(std::nullopt);
  {
    // Showing the stored value must not write it back: after a reset the
    // setting is gone, and another program's value is its own.
    const QSignalBlocker quiet(maxCommentLengthSlider_);
    maxCommentLengthSlider_->setValue(sliderValueFor(SharedSettings::shared().maxCommentLength()));
  }
  updateMaxCommentLengthField();
}

void ViewController::updateMaxCommentLengthField() {
  const int n = maxCommentLengthSlider_->value();
  maxCommentLengthField_->setText(n == 0 ? tr("No limit") : QStringLiteral("%1 characters").arg(n));
}

void ViewController::sendFeedback() {
  const QUrl url = feedbackMailUrl(versionString());
  const bool opened = urlOpener_ ? urlOpener_(url) : QDesktopServices::openUrl(url);
  if (!opened) emit problem(tr("No mail program could be opened; please write to %1.").arg(url.path()));
}

}  // namespace brindlewort
