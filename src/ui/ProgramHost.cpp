#include "ui/ProgramHost.h"

#include "ui/FileChooser.h"
#include "ui/MessageBoxDlg.h"

QuestionAnswer ProgramHost::ask(const std::string& messageKey, const std::string& insertText) {
    return runMessageBox(messageKey, insertText);
}

void ProgramHost::tell(const std::string& text, const std::string& title) {
    showSystemMessage(text, title);
}

bool ProgramHost::chooseFiles(const FileChooserRequest& request, std::vector<std::string>& files) {
    return runFileDialog(request, files);
}
