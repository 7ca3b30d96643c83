#pragma once
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

class QHelpEngine;
class QLineEdit;
class QTabWidget;

namespace harmik {

// Shows the pages of the help collection: a page reads its pictures and links from the
// collection; addresses outside it go to the desktop's browser.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(QHelpEngine& engine, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

private:
    QHelpEngine& engine_;
};

// The program's help window: the manual's contents, its keyword index with a field that
// finds the keywords beginning with what is typed, and full-text search, beside the page.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(QHelpEngine& engine, QWidget* parent);

    void showPage(const QUrl& page);
    QUrl currentPage() const;
    // The index, its field holding `key` and focused.
    void showIndex(const QString& key);

    QTabWidget* Tabs() const { return tabs_; }
    QLineEdit* IndexField() const { return indexField_; }
    HelpBrowser* Browser() const { return browser_; }

protected:
    // Made modal over a dialog, the window is modeless again once it is put away.
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildIndexPage();
    QWidget* buildSearchPage();

    QHelpEngine& engine_;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* indexField_ = nullptr;
    HelpBrowser* browser_ = nullptr;
};

} // namespace harmik
