#include "studio/components/ExplorerBarItem.hpp"

#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/tavi2/GLBoxLayout2.hpp"
#include "platform/tavi2/GLImage2.hpp"
#include "platform/tavi2/GLText2.hpp"

#include <QWidget>

namespace KITE {

ExplorerBarItem::ExplorerBarItem(const TAVI::StringID& toolkit, unsigned rowUID,
                                 TAVI::GLWidget2* parent)
    : GLPanel2(toolkit, parent), row(rowUID),
      layout(new TAVI::GLBoxLayout2(TAVI::GLBoxLayout2::LeftToRight)) {
    layout->setMargin(0);
    layout->setSpacing(2);
    setLayout(layout);
    NIMB::ConnectionWriteLocker lock;
    new NIMB::ConnectionImpl1<ExplorerBarItem, TAVI::GLMouseEvent2>(
        this, getMousePressEmitter(), NIMB::Thread::getCurrentThread(), &ExplorerBarItem::pressed);
}

ExplorerBarItem::~ExplorerBarItem() {
    disconnect();
}

void ExplorerBarItem::setImage(const std::string& file) {
    if (file.empty()) {
        if (image)
            image->hide();
        return;
    }
    if (!image) {
        image = new TAVI::GLImage2("qt", this);
        // Presses on the parts reach the item itself.
        image->getQWidget()->setAttribute(Qt::WA_TransparentForMouseEvents);
        layout->addWidget(image);
    }
    image->setFile(file);
    image->show();
}

std::string ExplorerBarItem::getImage() const {
    return image && !image->isHidden() ? image->getFile() : std::string();
}

void ExplorerBarItem::setIcon(const TAVI::Icon& icon) {
    setImage(icon.isValid() ? icon.getFile() : std::string());
}

void ExplorerBarItem::setText(const std::string& value) {
    if (!text) {
        text = new TAVI::GLText2("qt", this);
        text->getQWidget()->setAttribute(Qt::WA_TransparentForMouseEvents);
        layout->addWidget(text);
    }
    text->setText(value);
}

std::string ExplorerBarItem::getText() const {
    return text ? text->getText() : std::string();
}

void ExplorerBarItem::click() {
    clicked.send(TAVI::GLButtonClickEvent2(this));
}

void ExplorerBarItem::pressed(TAVI::GLMouseEvent2 event) {
    if (event.button() == TAVI::GLMouseButton2::Left)
        click();
}

} // namespace KITE
