#include "help/help_system.h"

#include "help/help_topics.h"
#include "help/help_window.h"
#include "userdata/messages.h"
#include "userdata/paths.h"
#include "userdata/strings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QTemporaryDir>

namespace harmik {
namespace {

constexpr int kNoHelpCollection = 8200; // "Справка Harmik не найдена ..."
const char* const kCollectionName = "harmik.qhc";
const char* const kDocumentationName = "harmik.qch";

bool copyInto(const QString& from, const QString& folder, const QString& name) {
    return !from.isEmpty() && QFile::copy(from, folder + QLatin1Char('/') + name);
}

} // namespace

QString ShippedHelpCollection() {
    return FindShippedFile(QString::fromLatin1(kCollectionName));
}

HelpSystem::HelpSystem(QWidget* owner, QString collection)
    : QObject(owner), owner_(owner), collection_(std::move(collection)) {}

HelpSystem::~HelpSystem() {
    // A window of its own (no owner) goes with the help; one owned by a window goes with that.
    if (owner_ == nullptr)
        delete window_;
}

HelpWindow* HelpSystem::Window() const {
    return window_;
}

bool HelpSystem::open() {
    if (engine_ != nullptr)
        return true;
    // The collection and its documentation are copied side by side into a folder of this run.
    const QFileInfo source(collection_);
    QString documentation = source.dir().filePath(QString::fromLatin1(kDocumentationName));
    if (!QFileInfo::exists(documentation))
        documentation = FindShippedFile(QString::fromLatin1(kDocumentationName));
    auto copy = std::make_unique<QTemporaryDir>();
    const QString name = QString::fromLatin1(kCollectionName);
    bool ok = copy->isValid() && source.isFile() && copyInto(collection_, copy->path(), name) &&
              copyInto(documentation, copy->path(), QString::fromLatin1(kDocumentationName));
    QHelpEngine* engine = nullptr;
    if (ok) {
        engine = new QHelpEngine(copy->filePath(name), this);
        ok = engine->setupData();
        // A collection that names its documentation elsewhere is told where the copy is.
        if (ok && !engine->registeredDocumentations().contains(HelpNamespace()))
            ok = engine->registerDocumentation(
                copy->filePath(QString::fromLatin1(kDocumentationName)));
        ok = ok && !engine->fileData(HelpTopicUrl(HelpTopic::Contents)).isEmpty();
    }
    if (!ok) {
        delete engine;
        const QString shown = collection_.isEmpty() ? name : collection_;
        ShowMessage(
            QApplication::activeModalWidget() ? QApplication::activeModalWidget() : owner_,
            {MessageType::Error, MessageButtons::Ok, FormatStr(kNoHelpCollection, {shown}), 0, {}});
        return false;
    }
    copy_ = std::move(copy);
    engine_ = engine;
    engine_->searchEngine()->scheduleIndexDocumentation();
    return true;
}

// One help window. While a modal dialog runs, the window is modal too, so that it can be read
// and closed; otherwise it stays beside the main window while the user works.
HelpWindow* HelpSystem::presentWindow() {
    if (!window_)
        window_ = new HelpWindow(*engine_, owner_);
    const Qt::WindowModality wanted =
        QApplication::activeModalWidget() != nullptr && QApplication::activeModalWidget() != window_
            ? Qt::ApplicationModal
            : Qt::NonModal;
    if (window_->windowModality() != wanted) {
        window_->hide();
        window_->setWindowModality(wanted);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    return window_;
}

bool HelpSystem::ShowTopic(int topic) {
    if (!open())
        return false;
    presentWindow()->showPage(HelpTopicUrl(topic));
    return true;
}

bool HelpSystem::ShowIndex(const QString& key) {
    if (!open())
        return false;
    HelpWindow* window = presentWindow();
    if (window->currentPage().isEmpty())
        window->showPage(HelpTopicUrl(HelpTopic::Contents));
    window->showIndex(key);
    return true;
}

} // namespace harmik
