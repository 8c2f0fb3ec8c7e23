#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <string>

namespace TAVI {

class GLDialog2Private;

// A window of its own for a short exchange with the user; lay its contents out with
// setLayout. A dialog with a parent stays above the parent's window.
class TAVI2_EXPORT GLDialog2 : public GLWidget2 {
public:
    enum Result { Rejected = 0, Accepted = 1 };

    // Throws TypedException when toolkit is not "qt".
    explicit GLDialog2(const StringID& toolkit, GLWidget2* parent = nullptr);
    ~GLDialog2() override;

    void setTitle(const std::string& title);
    std::string getTitle() const;
    // A modal dialog blocks input to the other windows while it is shown.
    void setModal(bool modal);
    bool isModal() const;

    // Closes the dialog with a result, sending the finish signal.
    void accept();
    void reject();
    void done(int result);
    int getResult() const;
    // Shows the dialog and waits, running the event loop, until it is closed; returns the
    // result. Prefer show() and the finish signal where nothing must wait.
    int exec();

    // Sent with the result when the dialog closes.
    NIMB::Emitter<int>& getFinishEmitter();

private:
    GLDialog2Private* d; // owned
};

} // namespace TAVI
