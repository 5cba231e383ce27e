#pragma once
// While a TDescriptionLoading scope lives on the window thread, every board created puts
// itself in the loading state, so a window description (a Qt Designer form compiled with
// uic) applies its stored properties without painting; when the scope ends, each board that
// still exists leaves the loading state and brings its stored pictures into use.
//
//     {
//         TDescriptionLoading loading;
//         ui.setupUi(this);
//     }

#include <QPointer>

#include <vector>

class TChessBrd;

class TDescriptionLoading {
  public:
    TDescriptionLoading();
    ~TDescriptionLoading();
    TDescriptionLoading(const TDescriptionLoading&) = delete;
    TDescriptionLoading& operator=(const TDescriptionLoading&) = delete;

    // Called by a board's constructor: puts it in the loading state when a scope is open.
    static void Adopt(TChessBrd* board);

  private:
    TDescriptionLoading* FOuter;
    std::vector<QPointer<TChessBrd>> FBoards;
};
