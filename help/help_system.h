#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QHelpEngine;
class QTemporaryDir;
class QWidget;

namespace harmik {

class HelpWindow;

// The shipped help collection ("harmik.qhc" and its documentation "harmik.qch"), found like
// every shipped file: the user's data folder first, letter case aside. Empty when missing.
QString ShippedHelpCollection();

// The program's help: opens the collection on first use and shows topics, the index and the
// search in one help window. The collection is read from a private copy, beside which the
// full-text search keeps its index, so that an installed, read-only collection serves.
class HelpSystem : public QObject {
    Q_OBJECT
public:
    // `owner` is the window the help window belongs to (the main window).
    explicit HelpSystem(QWidget* owner, QString collection = ShippedHelpCollection());
    ~HelpSystem() override;

    // Shows the page of the topic. False when the collection cannot be read; the user has been
    // told so.
    bool ShowTopic(int topic);
    // Shows the keyword index with the keywords beginning with `key`.
    bool ShowIndex(const QString& key);

    // The help window once it has been shown.
    HelpWindow* Window() const;

private:
    bool open();
    HelpWindow* presentWindow();

    QWidget* owner_;
    QString collection_;
    std::unique_ptr<QTemporaryDir> copy_;
    QHelpEngine* engine_ = nullptr;
    QPointer<HelpWindow> window_;
};

} // namespace harmik
