#include "library/editors/masks/cxRegExpr_Internal.h"

#include "platform/runtime/SysUtils.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Character tests

bool TcxRegExprSymbol::Check(wchar_t& AToken, bool ACaseInsensitive, bool ACanChangeCase) const {
  if (AToken == FValue) return true;
  if (!ACaseInsensitive || UpperCaseChar(AToken) != FUpper) return false;
  if (ACanChangeCase) AToken = FValue;
  return true;
}

wchar_t TcxRegExprTimeSeparator::Value() { return FormatSettings.TimeSeparator; }
wchar_t TcxRegExprDateSeparator::Value() { return FormatSettings.DateSeparator; }

bool TcxRegExprUserEnumeration::AnyMember(wchar_t& AToken, bool ACaseInsensitive, bool ACanChangeCase) const {
  return std::any_of(FItems.begin(), FItems.end(), [&](const std::unique_ptr<TcxRegExprItem>& AItem) {
    return AItem->Check(AToken, ACaseInsensitive, ACanChangeCase);
  });
}

bool TcxRegExprUserEnumeration::Check(wchar_t& AToken, bool ACaseInsensitive, bool ACanChangeCase) const {
  if (FInverse) {
    // A rejecting test must not touch the token the other states still see.
    wchar_t token = AToken;
    return !(AnyMember(token, false, false) || (ACaseInsensitive && AnyMember(token, true, false)));
  }
  return AnyMember(AToken, false, ACanChangeCase) || (ACaseInsensitive && AnyMember(AToken, true, ACanChangeCase));
}

int TcxRegExprUserEnumeration::Weight() const {
  int result = 1;
  for (const auto& item : FItems) result += item->Weight();
  return result;
}

std::unique_ptr<TcxRegExprItem> TcxRegExprUserEnumeration::Clone() const {
  auto result = std::make_unique<TcxRegExprUserEnumeration>(FInverse);
  for (const auto& item : FItems) result->Add(item->Clone());
  return result;
}

bool TcxRegExprIdLetter::Check(wchar_t& AToken, bool, bool) const {
  const bool isId = (AToken >= L'a' && AToken <= L'z') || (AToken >= L'A' && AToken <= L'Z') ||
                    (AToken >= L'0' && AToken <= L'9') || AToken == L'_';
  return isId != FInverse;
}

bool TcxRegExprSpace::Check(wchar_t& AToken, bool, bool) const {
  const bool isSpace = AToken == 0 || AToken == 9 || AToken == 10 || AToken == 12 || AToken == 13 || AToken == 32;
  return isSpace != FInverse;
}

// ---------------------------------------------------------------------------
// Parse tree

namespace {

const wchar_t* QuantifierText(TcxRegExprQuantifier AQuantifier) {
  switch (AQuantifier) {
    case TcxRegExprQuantifier::Question: return L"?";
    case TcxRegExprQuantifier::Star: return L"*";
    case TcxRegExprQuantifier::Plus: return L"+";
    case TcxRegExprQuantifier::Simple: break;
  }
  return L"";
}

}  // namespace

std::unique_ptr<TcxRegExprParserItem> TcxRegExprParserSimpleItem::Clone() const {
  auto result = std::make_unique<TcxRegExprParserSimpleItem>(FValue->Clone());
  result->FQuantifier = FQuantifier;
  return result;
}

void TcxRegExprParserSimpleItem::Print(String& AResult) const {
  AResult += L"item --> ";
  AResult += QuantifierText(FQuantifier);
  AResult += L"\r\n";
}

void TcxRegExprParserSimpleItem::SetFinal(TcxRegExprAutomat& AAutomat) const { AAutomat.SetFinal(FState); }

void TcxRegExprParserSimpleItem::CreateConnections(TcxRegExprAutomat& AAutomat) {
  FState = AAutomat.AddState(FValue.get());
}

std::unique_ptr<TcxRegExprParserItem> TcxRegExprParserAlt::ReplaceLastItem(
    std::unique_ptr<TcxRegExprParserItem> AItem) {
  std::swap(FItems.back(), AItem);
  return AItem;
}

bool TcxRegExprParserAlt::CanEmpty() const {
  return std::all_of(FItems.begin(), FItems.end(), [](const auto& AItem) { return AItem->CanEmpty(); });
}

bool TcxRegExprParserAlt::CanMissing() const {
  return std::all_of(FItems.begin(), FItems.end(), [](const auto& AItem) { return AItem->CanMissing(); });
}

std::unique_ptr<TcxRegExprParserAlt> TcxRegExprParserAlt::Clone() const {
  auto result = std::make_unique<TcxRegExprParserAlt>();
  result->FItems.reserve(FItems.size());
  for (const auto& item : FItems) result->FItems.push_back(item->Clone());
  return result;
}

void TcxRegExprParserAlt::Print(String& AResult) const {
  AResult += L"<Start_Alt>\r\n";
  for (const auto& item : FItems) item->Print(AResult);
  AResult += L"<Finish_Alt>\r\n";
}

int TcxRegExprParserAlt::CreateConnections(TcxRegExprAutomat& AAutomat, int AFinishState) {
  int gap = AAutomat.AddBlockState();
  const int first = gap;
  for (const auto& item : FItems) {
    item->CreateConnections(AAutomat);
    const int nextGap = AAutomat.AddBlockState();
    AAutomat.Link(gap, item->EntryState());
    if (item->CanMissing()) AAutomat.Link(gap, nextGap);
    AAutomat.Link(item->ExitState(), nextGap);
    if (item->CanRepeat()) AAutomat.Link(item->ExitState(), item->EntryState());
    gap = nextGap;
  }
  if (AFinishState >= 0) AAutomat.Link(gap, AFinishState);
  return first;
}

void TcxRegExprParserAlt::CreateFinalStates(TcxRegExprAutomat& AAutomat) const {
  for (auto it = FItems.rbegin(); it != FItems.rend(); ++it) {
    (*it)->SetFinal(AAutomat);
    if (!(*it)->CanMissing()) break;
  }
}

TcxRegExprParserAlt* TcxRegExprParserAlts::AddAlt() {
  FAlts.push_back(std::make_unique<TcxRegExprParserAlt>());
  return FAlts.back().get();
}

bool TcxRegExprParserAlts::CanEmpty() const {
  return std::any_of(FAlts.begin(), FAlts.end(), [](const auto& AAlt) { return AAlt->CanEmpty(); });
}

bool TcxRegExprParserAlts::StartStateIsFinal() const {
  return std::any_of(FAlts.begin(), FAlts.end(), [](const auto& AAlt) { return AAlt->CanMissing(); });
}

std::unique_ptr<TcxRegExprParserAlts> TcxRegExprParserAlts::Clone() const {
  auto result = std::make_unique<TcxRegExprParserAlts>();
  result->FAlts.reserve(FAlts.size());
  for (const auto& alt : FAlts) result->FAlts.push_back(alt->Clone());
  return result;
}

void TcxRegExprParserAlts::Print(String& AResult) const {
  for (const auto& alt : FAlts) alt->Print(AResult);
}

void TcxRegExprParserAlts::CreateFinalStates(TcxRegExprAutomat& AAutomat) const {
  for (const auto& alt : FAlts) alt->CreateFinalStates(AAutomat);
}

void TcxRegExprParserBlockItem::Recompute() {
  int depth = 0;
  int size = 0;
  for (const auto& alt : FAlts.FAlts)
    for (const auto& item : alt->FItems) {
      depth = std::max(depth, item->Depth());
      size += item->Size();
    }
  FDepth = depth + 1;
  FSize = size;
  FContentCanEmpty = FAlts.CanEmpty();
}

std::unique_ptr<TcxRegExprParserItem> TcxRegExprParserBlockItem::Clone() const {
  auto result = std::make_unique<TcxRegExprParserBlockItem>();
  result->FQuantifier = FQuantifier;
  result->FAlts.FAlts = std::move(FAlts.Clone()->FAlts);
  result->FDepth = FDepth;
  result->FSize = FSize;
  result->FContentCanEmpty = FContentCanEmpty;
  return result;
}

void TcxRegExprParserBlockItem::Print(String& AResult) const {
  AResult += L"<Start_Block>\r\n";
  FAlts.Print(AResult);
  AResult += L"<Finish_Block> --> ";
  AResult += QuantifierText(FQuantifier);
  AResult += L"\r\n";
}

void TcxRegExprParserBlockItem::CreateConnections(TcxRegExprAutomat& AAutomat) {
  FStartState = AAutomat.AddBlockState();
  FFinishState = AAutomat.AddBlockState();
  for (const auto& alt : FAlts.FAlts) AAutomat.Link(FStartState, alt->CreateConnections(AAutomat, FFinishState));
}

// ---------------------------------------------------------------------------
// Automaton

TcxRegExprAutomat::TcxRegExprAutomat(std::unique_ptr<TcxRegExprParserAlts> AExpr, TcxRegExpr* AOwner)
    : FOwner(AOwner), FExpr(std::move(AExpr)) {
  FStartState = static_cast<int>(FStates.size());
  FStates.push_back({nullptr, false, FExpr->StartStateIsFinal(), {}});
  for (const auto& alt : FExpr->FAlts) Link(FStartState, alt->CreateConnections(*this, -1));
  FExpr->CreateFinalStates(*this);
  FVisited.assign(FStates.size(), 0);
  FTaken.assign(FStates.size(), 0);
  Reset();
}

int TcxRegExprAutomat::AddState(const TcxRegExprItem* AValue) {
  FStates.push_back({AValue, AValue == nullptr, false, {}});
  return static_cast<int>(FStates.size()) - 1;
}

bool TcxRegExprAutomat::IsFinal(const TStates& AStates) const {
  return std::any_of(AStates.begin(), AStates.end(),
                     [this](int AState) { return FStates[static_cast<std::size_t>(AState)].IsFinal; });
}

template <class F>
void TcxRegExprAutomat::WalkNext(const TStates& AStates, F AVisit) {
  if (++FWalk == 0) {  // the marks wrapped around: start them afresh
    std::fill(FVisited.begin(), FVisited.end(), 0);
    FWalk = 1;
  }
  for (int from : AStates) {
    const TStates& successors = FStates[static_cast<std::size_t>(from)].States;
    FStack.assign(successors.rbegin(), successors.rend());
    while (!FStack.empty()) {
      const int state = FStack.back();
      FStack.pop_back();
      std::uint32_t& visited = FVisited[static_cast<std::size_t>(state)];
      if (visited == FWalk) continue;
      visited = FWalk;
      const TState& node = FStates[static_cast<std::size_t>(state)];
      if (node.IsBlock)
        FStack.insert(FStack.end(), node.States.rbegin(), node.States.rend());
      else
        AVisit(state, node);
    }
  }
}

TcxRegExprAutomat::TStates TcxRegExprAutomat::NewStates() {
  if (FSpare.empty()) return {};
  TStates result = std::move(FSpare.back());
  FSpare.pop_back();
  result.clear();
  return result;
}

void TcxRegExprAutomat::FreeStates(TStates& AStates) { FSpare.push_back(std::move(AStates)); }

bool TcxRegExprAutomat::Next(wchar_t& AToken, bool ACaseInsensitive, bool ACanChangeCase) {
  TStates result = NewStates();
  if (++FTakenMark == 0) {
    std::fill(FTaken.begin(), FTaken.end(), 0);
    FTakenMark = 1;
  }
  const std::uint32_t taken = FTakenMark;
  auto take = [&](int AState) {
    FTaken[static_cast<std::size_t>(AState)] = taken;
    result.push_back(AState);
  };
  const TStates& candidates = Candidates();
  // As typed first, so that an exact match wins over a case-changed one.
  for (const int state : candidates) {
    const TcxRegExprItem& test = *FStates[static_cast<std::size_t>(state)].Value;
    if (test.Check(AToken, ACaseInsensitive && test.IsCaseSensitiveInverse(), false)) take(state);
  }
  if (ACaseInsensitive)
    for (const int state : candidates)
      if (FTaken[static_cast<std::size_t>(state)] != taken &&
          FStates[static_cast<std::size_t>(state)].Value->Check(AToken, true, ACanChangeCase && result.empty()))
        take(state);
  if (result.empty()) {
    FreeStates(result);
    return false;
  }
  FHistory.push_back(std::move(FCurrentStates));
  SetCurrentStates(std::move(result));
  return true;
}

const TcxRegExprAutomat::TStates& TcxRegExprAutomat::Candidates() {
  if (!FCandidatesValid) {
    FCandidates.clear();
    WalkNext(FCurrentStates, [this](int AState, const TState&) { FCandidates.push_back(AState); });
    FCandidatesValid = true;
  }
  return FCandidates;
}

void TcxRegExprAutomat::SetCurrentStates(TStates&& AStates) {
  FCurrentStates = std::move(AStates);
  FCandidatesValid = false;
}

bool TcxRegExprAutomat::Prev() {
  if (FHistory.empty()) return false;
  FreeStates(FCurrentStates);
  SetCurrentStates(std::move(FHistory.back()));
  FHistory.pop_back();
  return true;
}

String TcxRegExprAutomat::Print() const {
  String result;
  FExpr->Print(result);
  return result;
}

void TcxRegExprAutomat::Reset() {
  for (TStates& states : FHistory) FreeStates(states);
  FHistory.clear();
  FCurrentStates.assign(1, FStartState);
  FCandidatesValid = false;
}

TcxRegExprAutomat::TStates TcxRegExprAutomat::GetAllNextStates(const TStates& AStates) {
  TStates result = NewStates();
  WalkNext(AStates, [&](int AState, const TState&) { result.push_back(AState); });
  return result;
}

bool TcxRegExprAutomat::Equ(const TStates& AStates, wchar_t& ASymbol) const {
  if (AStates.empty()) return false;
  wchar_t first = 0;
  for (std::size_t i = 0; i < AStates.size(); ++i) {
    const TState& node = FStates[static_cast<std::size_t>(AStates[i])];
    wchar_t symbol = 0;
    if (node.Value == nullptr || !node.Value->IsLiteral(symbol)) return false;
    if (i == 0)
      first = symbol;
    else if (symbol != first)
      return false;
  }
  ASymbol = first;
  return true;
}

void TcxRegExprAutomat::Update() {
  if (IsFinal()) return;
  TStates next = GetAllNextStates(FCurrentStates);
  wchar_t symbol;
  while (Equ(next, symbol)) {
    CallEvent(FOwner->FOnSymbolUpdate, symbol);
    FHistory.push_back(std::move(FCurrentStates));
    SetCurrentStates(std::move(next));
    if (IsFinal()) return;
    next = GetAllNextStates(FCurrentStates);
  }
  FreeStates(next);
}

void TcxRegExprAutomat::ReUpdate() {
  wchar_t symbol;
  while (Equ(FCurrentStates, symbol) && !FHistory.empty()) {
    TStates previous = std::move(FHistory.back());
    FHistory.pop_back();
    TStates next = GetAllNextStates(previous);
    const bool forced = Equ(next, symbol) && !IsFinal(previous);
    FreeStates(next);
    if (!forced) {
      FHistory.push_back(std::move(previous));
      return;
    }
    CallEvent(FOwner->FOnSymbolDelete);
    FreeStates(FCurrentStates);
    SetCurrentStates(std::move(previous));
  }
}
