#include "app/tip_and_fork.h"

#include "app/main_window.h"
#include "userdata/hints.h"
#include "userdata/paths.h"
#include "userdata/tip_of_the_day.h"
#include "userdata/tuning_fork_picture.h"

#include <QCheckBox>

namespace harmik {
namespace {

constexpr int kForkHint = 3040;

} // namespace

TipAndFork::TipAndFork(TForm1& window) : QObject(&window), w_(window) {
    fork_ = new TuningForkPicture(w_.centralWidget());
    fork_->setCursor(w_.Cursors().cursor(CursorTuningFork));
    ApplyHintId(fork_, kForkHint);
    connect(fork_, &TuningForkPicture::clicked, this, &TipAndFork::ImageStemGaflClick);
}

int TipAndFork::soundFork() {
    return w_.Sound().PlayTuningFork();
}

void TipAndFork::ImageStemGaflClick() {
    fork_->Sound(soundFork());
}

void TipAndFork::ShowTipsAtStart(QWidget* splash) {
    if (!w_.TipsAtStart())
        return;
    TfTipOfTheDay tips(
        ReadTipsFile(FindShippedFile(QString::fromLatin1(kTipsFileName))),
        [this] { return soundFork(); }, w_.HighColourDisplay(), &w_);
    tips.ImageStemGafl()->setCursor(w_.Cursors().cursor(CursorTuningFork));
    tips.setSplash(splash);
    tips.setTipIndex(w_.TipIndex());
    tips.GetTip(true);
    tips.cbShowTips()->setChecked(w_.TipsAtStart());
    tips.exec();
    w_.setTipIndex(tips.TipIndex());
    w_.setTipsAtStart(tips.cbShowTips()->isChecked());
}

} // namespace harmik
