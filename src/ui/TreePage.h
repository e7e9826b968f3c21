#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui/MultiTree.h"
#include "ui/WizardPage.h"

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { ImageList_Destroy(h); }
};
using ScopedImageList = UniqueHandle<ImageListTraits>;

// Page 3 of both wizards: the folders of one store tree (the favorites or the page archive).
class CTreePage : public CWizardPage {
  public:
    explicit CTreePage(bool archiveTree);
    ~CTreePage() override;

    void fillTree();
    std::string getSelectedPath() const;
    CMultiTree& tree() { return tree_; }
    const std::string& rootSection() const { return rootSection_; }

  protected:
    bool onInitDialog() override;

  private:
    std::string rootSection_;
    CMultiTree tree_;
    ScopedImageList images_;
};
