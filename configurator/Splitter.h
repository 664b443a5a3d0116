#pragma once
// A splitter that asks before its divider moves.
#include <QSplitter>

#include <functional>

class TSplitter : public QSplitter {
public:
    using QSplitter::QSplitter;

    // newSize: the size the control before the divider would get; clear
    // accept to keep the divider where it is.
    std::function<void(int &newSize, bool &accept)> OnCanResize;

protected:
    QSplitterHandle *createHandle() override;
};
