#pragma once
// One page panel of the main window. Pages that share a panel (connections,
// inputs, relays and outputs) are one ConfigPage shown for several page
// numbers. The navigation enters a page, shows its values from the
// configuration, and stores them back when the page is left.
#include "configurator/core/Configuration.h"
#include "configurator/FormTexts.h"
#include "configurator/PageTree.h"

#include <QFrame>

class ConfigPage;
class QLabel;

// What a page needs of the main window.
class PageContext {
public:
    virtual ~PageContext() = default;
    // The translatable texts and lists, read when they are shown.
    virtual const FormTexts &Texts() const = 0;
    // The current text of the navigation tree's node for a page number.
    virtual QString NodeText(int page) const = 0;
    // The page object of a panel, or null where the window has none.
    virtual ConfigPage *Panel(PanelId panel) const = 0;
};

class ConfigPage : public QFrame {
    Q_OBJECT
public:
    // panelName: the panel's name (objectName), e.g. "Panel1".
    ConfigPage(PageContext &context, const QString &panelName, QWidget *parent = nullptr);

    // The page's title label (caption := node text on entry), or null.
    virtual QLabel *TitleLabel() const { return nullptr; }
    // Sets the title and makes the form's adaptations of this controller model,
    // every time page `page` is entered, before its values are shown.
    virtual void Enter(int page);
    // After ShowPage on entering (most pages: nothing).
    virtual void AfterShow(int page);
    // Whether the page has configuration values to store and show.
    virtual bool HasValues(int page) const;
    // Controls -> configuration, and configuration -> controls.
    virtual void StorePage(int page, ControllerConfig &config);
    virtual void ShowPage(int page, ControllerConfig &config);

protected:
    PageContext &context() const { return context_; }
    const FormTexts &texts() const { return context_.Texts(); }
    // Another panel's page object of class P, or null.
    template <class P>
    P *Other(PanelId panel) const
    {
        return qobject_cast<P *>(context_.Panel(panel));
    }

private:
    PageContext &context_;
};
