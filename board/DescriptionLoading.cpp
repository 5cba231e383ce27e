#include "DescriptionLoading.h"

#include "ChessBrd.h"

namespace {
// Windows are built on the window thread only; nested scopes hand their boards outward.
TDescriptionLoading* CurrentScope = nullptr;
} // namespace

TDescriptionLoading::TDescriptionLoading() : FOuter(CurrentScope) {
    CurrentScope = this;
}

TDescriptionLoading::~TDescriptionLoading() {
    CurrentScope = FOuter;
    for (const QPointer<TChessBrd>& board : FBoards) {
        if (!board) continue;
        if (FOuter)
            FOuter->FBoards.push_back(board);
        else
            board->EndLoading();
    }
}

void TDescriptionLoading::Adopt(TChessBrd* board) {
    if (!CurrentScope) return;
    board->BeginLoading();
    CurrentScope->FBoards.emplace_back(board);
}
