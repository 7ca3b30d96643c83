#include "help/help_window.h"

#include "userdata/strings.h"

#include <QDesktopServices>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace harmik {
namespace {

constexpr int kTitle = 8201;           // "Справка Harmik"
constexpr int kContentsTab = 8202;     // "Содержание"
constexpr int kIndexTab = 8203;        // "Указатель"
constexpr int kSearchTab = 8204;       // "Поиск"
constexpr int kIndexFieldLabel = 8205; // "Введите начало слова:"

} // namespace

HelpBrowser::HelpBrowser(QHelpEngine& engine, QWidget* parent)
    : QTextBrowser(parent), engine_(engine) {
    setObjectName(QStringLiteral("HelpPage"));
    setOpenLinks(true);
    setOpenExternalLinks(false);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (name.scheme() == QLatin1String("qthelp"))
        return engine_.fileData(name);
    return QTextBrowser::loadResource(type, name);
}

void HelpBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != QLatin1String("qthelp")) {
        QDesktopServices::openUrl(url);
        return;
    }
    QTextBrowser::doSetSource(url, type);
}

HelpWindow::HelpWindow(QHelpEngine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window), engine_(engine) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(LoadStr(kTitle));
    tabs_ = new QTabWidget(this);
    QHelpContentWidget* contents = engine_.contentWidget();
    tabs_->addTab(contents, LoadStr(kContentsTab));
    tabs_->addTab(buildIndexPage(), LoadStr(kIndexTab));
    tabs_->addTab(buildSearchPage(), LoadStr(kSearchTab));
    browser_ = new HelpBrowser(engine_, this);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(900, 640);

    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::showPage);
    // The manual's chapters stand open, their pages in view.
    connect(engine_.contentModel(), &QHelpContentModel::contentsCreated, contents,
            [contents] { contents->expandToDepth(1); });
    // Escape puts the help away, as it does with the program's dialogs.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

QWidget* HelpWindow::buildIndexPage() {
    auto* page = new QWidget(tabs_);
    auto* layout = new QVBoxLayout(page);
    auto* label = new QLabel(LoadStr(kIndexFieldLabel), page);
    indexField_ = new QLineEdit(page);
    indexField_->setObjectName(QStringLiteral("IndexField"));
    label->setBuddy(indexField_);
    QHelpIndexWidget* index = engine_.indexWidget();
    layout->addWidget(label);
    layout->addWidget(indexField_);
    layout->addWidget(index);
    // Typing narrows the index to the keywords that begin with the text; Return opens the
    // first of them.
    connect(indexField_, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(indexField_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link) { showPage(link.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links) {
                if (!links.isEmpty())
                    showPage(links.first().url);
            });
    return page;
}

QWidget* HelpWindow::buildSearchPage() {
    QHelpSearchEngine* search = engine_.searchEngine();
    auto* page = new QWidget(tabs_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(search->queryWidget());
    layout->addWidget(search->resultWidget(), 1);
    connect(search->queryWidget(), &QHelpSearchQueryWidget::search, search,
            [search] { search->search(search->queryWidget()->searchInput()); });
    connect(search->resultWidget(), &QHelpSearchResultWidget::requestShowLink, this,
            &HelpWindow::showPage);
    return page;
}

void HelpWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (windowModality() != Qt::NonModal)
        setWindowModality(Qt::NonModal);
}

void HelpWindow::showPage(const QUrl& page) {
    browser_->setSource(page);
}

QUrl HelpWindow::currentPage() const {
    return browser_->source();
}

void HelpWindow::showIndex(const QString& key) {
    tabs_->setCurrentIndex(1);
    indexField_->setText(key);
    engine_.indexWidget()->filterIndices(key);
    indexField_->setFocus();
}

} // namespace harmik
