#include "ui/TreePage.h"

#include "archive/FileChecks.h"
#include "config/ProcessStore.h"
#include "platform/FileSystem.h"
#include "skin/SkinBitmap.h"
#include "store/SharedStoreNodes.h"
#include "ui/FolderTreeView.h"
#include "ui/ResourceIds.h"

CTreePage::CTreePage(bool archiveTree)
    : CWizardPage(IDD_TREE_PAGE, "FavImportExportPage3"),
      rootSection_(archiveTree ? getOfflineTreeRoot() : getFavTreeRoot()) {}

CTreePage::~CTreePage() {
    // The tree frees its items while the image list still exists.
    if (tree_.exists()) DestroyWindow(tree_.handle());
}

bool CTreePage::onInitDialog() {
    tree_.subclassItem(handle(), IDC_TREE);
    startElements();
    elements()->addPictureElement("Background");
    elements()->addWindowElement("TreeView", tree_.handle());
    elements()->loadLayout(false);
    fillTree();
    return true;
}

void CTreePage::fillTree() {
    tree_.configure(false, false, false, false);
    tree_.setLabelCheck(isValidFileName);
    tree_.send(TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    images_.reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 6, 4));
    for (const char* key : {"File", "FolderClosed", "FolderClosed", "FolderOpened"}) {
        ScopedBitmap bitmap = loadBitmapFile(getTreeIconsPath(key));
        ImageList_AddMasked(images_.get(), bitmap.get(), RGB(255, 255, 255));
    }
    tree_.send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.get()));
    SharedStoreNodes nodes(*processStore());
    fillFolderTree(nodes, tree_.handle(), nullptr, rootSection_);
    HTREEITEM first = reinterpret_cast<HTREEITEM>(tree_.send(TVM_GETNEXTITEM, TVGN_ROOT, 0));
    tree_.send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(first));
}

std::string CTreePage::getSelectedPath() const {
    HTREEITEM item = tree_.multiSelect() ? tree_.getFirstSelected() : tree_.caretItem();
    return getTreeItemPath(tree_.handle(), item);
}
