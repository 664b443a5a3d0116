#pragma once
// The maker's web page and support mailbox, and the one way both programs
// open such links (tests replace it, so that no browser or mail program starts).
#include <QString>
#include <QUrl>
#include <functional>

inline const QString MakerWebAddress = QStringLiteral("https://www.example.com/qrv");
inline const QString SupportMailAddress = QStringLiteral("support@example.com");

QUrl MakerWebPageUrl();
// "mailto:" + the support address + "?subject=" + the subject, percent-encoded.
QUrl SupportMailUrl(const QString &subject);

using LinkOpener = std::function<void(const QUrl &url)>;
// Null restores the desktop's own opener.
void SetLinkOpener(LinkOpener opener);
// Hands the link to the desktop; a failure goes unnoticed.
void OpenLink(const QUrl &url);
