// What a pattern compiles into: character tests, the parse tree and the
// automaton over its states. Shared by the engine's parser (cxRegExpr.cpp)
// and the automaton (cxRegExpr_Automat.cpp); nothing outside the unit uses it.
//
// Classes in this file:
//   TcxRegExprItem and its tests     what one position of the pattern accepts
//   TcxRegExprQuantifier             ?, *, + or exactly once
//   TcxRegExprParserItem, TcxRegExprParserSimpleItem, TcxRegExprParserBlockItem,
//   TcxRegExprParserAlt, TcxRegExprParserAlts   the parse tree
//   TcxRegExprAutomat                the nondeterministic automaton
//
// Implementation notes. The automaton's states live in one array and refer to
// each other by index. Besides a simple state per test and an entry and exit
// state per group, every alternative gets a "gap" state before each item and
// one after the last: a gap leads to the next item and, when that item may be
// skipped, on to the next gap. This gives the same successors, in the same
// order, as linking every item to all the skippable items after it, with
// links linear in the pattern's length. State sets are walked with a visited
// mark, so a loop of empty moves ((a?){1,}) and the many paths through nested
// optional groups cost each state once.
#pragma once

#include "library/editors/masks/cxRegExpr.h"

#include <cstdint>
#include <memory>
#include <vector>

// ---------------------------------------------------------------------------
// Character tests

class TcxRegExprItem {
 public:
  virtual ~TcxRegExprItem() = default;
  // A case-insensitive match may replace AToken by the pattern's character
  // when ACanChangeCase.
  virtual bool Check(wchar_t& AToken, bool ACaseInsensitive, bool ACanChangeCase) const = 0;
  virtual std::unique_ptr<TcxRegExprItem> Clone() const = 0;
  // The one character a literal or separator stands for now.
  virtual bool IsLiteral(wchar_t& /*AChar*/) const { return false; }
  // A negated class: its case-insensitive answer holds in every pass.
  virtual bool IsCaseSensitiveInverse() const { return false; }
  // What a copy of the test costs, counted against the expansion limit.
  virtual int Weight() const { return 1; }
};

class TcxRegExprSymbol : public TcxRegExprItem {
 public:
  explicit TcxRegExprSymbol(wchar_t AValue) : FValue(AValue), FUpper(UpperCaseChar(AValue)) {}
  bool Check(wchar_t& AToken, bool ACaseInsensitive, bool ACanChangeCase) const override;
  std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprSymbol>(FValue); }
  bool IsLiteral(wchar_t& AChar) const override { AChar = FValue; return true; }
  wchar_t Value() const { return FValue; }

 private:
  wchar_t FValue;
  wchar_t FUpper;
};

class TcxRegExprTimeSeparator : public TcxRegExprItem {
 public:
  static wchar_t Value();
  bool Check(wchar_t& AToken, bool, bool) const override { return AToken == Value(); }
  std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprTimeSeparator>(); }
  bool IsLiteral(wchar_t& AChar) const override { AChar = Value(); return true; }
};

class TcxRegExprDateSeparator : public TcxRegExprItem {
 public:
  static wchar_t Value();
  bool Check(wchar_t& AToken, bool, bool) const override { return AToken == Value(); }
  std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprDateSeparator>(); }
  bool IsLiteral(wchar_t& AChar) const override { AChar = Value(); return true; }
};

// Codes from start to finish inclusive, whatever the case flags say.
class TcxRegExprSubrange : public TcxRegExprItem {
 public:
  TcxRegExprSubrange(wchar_t AStart, wchar_t AFinish) : FStartValue(AStart), FFinishValue(AFinish) {}
  bool Check(wchar_t& AToken, bool, bool) const override {
    return AToken >= FStartValue && AToken <= FFinishValue;
  }
  std::unique_ptr<TcxRegExprItem> Clone() const override {
    return std::make_unique<TcxRegExprSubrange>(FStartValue, FFinishValue);
  }

 private:
  wchar_t FStartValue;
  wchar_t FFinishValue;
};

class TcxRegExprEnumeration : public TcxRegExprItem {
 public:
  explicit TcxRegExprEnumeration(bool AInverse) : FInverse(AInverse) {}
  bool Inverse() const { return FInverse; }

 protected:
  bool FInverse;
};

// A bracketed class. Members are asked as typed first, then (when
// case-insensitive) ignoring case. A negated class never changes the token:
// it accepts only characters that no member takes.
class TcxRegExprUserEnumeration : public TcxRegExprEnumeration {
 public:
  using TcxRegExprEnumeration::TcxRegExprEnumeration;
  bool Check(wchar_t& AToken, bool ACaseInsensitive, bool ACanChangeCase) const override;
  std::unique_ptr<TcxRegExprItem> Clone() const override;
  bool IsCaseSensitiveInverse() const override { return FInverse; }
  int Weight() const override;
  void Add(std::unique_ptr<TcxRegExprItem> AItem) { FItems.push_back(std::move(AItem)); }

 private:
  bool AnyMember(wchar_t& AToken, bool ACaseInsensitive, bool ACanChangeCase) const;
  std::vector<std::unique_ptr<TcxRegExprItem>> FItems;
};

// \d, \w and \s and their negations.
class TcxRegExprDigit : public TcxRegExprEnumeration {
 public:
  using TcxRegExprEnumeration::TcxRegExprEnumeration;
  bool Check(wchar_t& AToken, bool, bool) const override { return (AToken >= L'0' && AToken <= L'9') != FInverse; }
  std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprDigit>(FInverse); }
};

class TcxRegExprIdLetter : public TcxRegExprEnumeration {
 public:
  using TcxRegExprEnumeration::TcxRegExprEnumeration;
  bool Check(wchar_t& AToken, bool, bool) const override;
  std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprIdLetter>(FInverse); }
};

class TcxRegExprSpace : public TcxRegExprEnumeration {
 public:
  using TcxRegExprEnumeration::TcxRegExprEnumeration;
  bool Check(wchar_t& AToken, bool, bool) const override;
  std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprSpace>(FInverse); }
};

class TcxRegExprAll : public TcxRegExprItem {
 public:
  bool Check(wchar_t&, bool, bool) const override { return true; }
  std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprAll>(); }
};

// ---------------------------------------------------------------------------
// Parse tree

enum class TcxRegExprQuantifier : std::uint8_t { Simple, Question, Star, Plus };

class TcxRegExprAutomat;

class TcxRegExprParserItem {
 public:
  virtual ~TcxRegExprParserItem() = default;

  TcxRegExprQuantifier Quantifier() const { return FQuantifier; }
  void SetQuantifier(TcxRegExprQuantifier AValue) { FQuantifier = AValue; }
  bool CanMissing() const {
    return FQuantifier == TcxRegExprQuantifier::Question || FQuantifier == TcxRegExprQuantifier::Star;
  }
  bool CanRepeat() const {
    return FQuantifier == TcxRegExprQuantifier::Star || FQuantifier == TcxRegExprQuantifier::Plus;
  }
  bool NotQuantifier() const { return FQuantifier == TcxRegExprQuantifier::Simple; }
  // Groups nested inside, and the weight of the character tests inside (for the limits).
  int Depth() const { return FDepth; }
  int Size() const { return FSize; }

  virtual bool CanEmpty() const = 0;
  virtual std::unique_ptr<TcxRegExprParserItem> Clone() const = 0;
  virtual void Print(String& AResult) const = 0;
  // Marks the states that end a match when this item is the last.
  virtual void SetFinal(TcxRegExprAutomat& AAutomat) const = 0;
  // Creates this item's states and links its inside.
  virtual void CreateConnections(TcxRegExprAutomat& AAutomat) = 0;
  virtual int EntryState() const = 0;
  virtual int ExitState() const = 0;

 protected:
  TcxRegExprQuantifier FQuantifier = TcxRegExprQuantifier::Simple;
  int FDepth = 0;
  int FSize = 1;
};

class TcxRegExprParserSimpleItem : public TcxRegExprParserItem {
 public:
  explicit TcxRegExprParserSimpleItem(std::unique_ptr<TcxRegExprItem> AValue) : FValue(std::move(AValue)) {
    FSize = FValue->Weight();
  }
  bool CanEmpty() const override { return CanMissing(); }
  std::unique_ptr<TcxRegExprParserItem> Clone() const override;
  void Print(String& AResult) const override;
  void SetFinal(TcxRegExprAutomat& AAutomat) const override;
  void CreateConnections(TcxRegExprAutomat& AAutomat) override;
  int EntryState() const override { return FState; }
  int ExitState() const override { return FState; }
  TcxRegExprItem* Value() const { return FValue.get(); }

 private:
  std::unique_ptr<TcxRegExprItem> FValue;
  int FState = -1;
};

class TcxRegExprParserAlt {
 public:
  void Add(std::unique_ptr<TcxRegExprParserItem> AItem) { FItems.push_back(std::move(AItem)); }
  int Count() const { return static_cast<int>(FItems.size()); }
  TcxRegExprParserItem* GetItem(int AIndex) const { return FItems[static_cast<std::size_t>(AIndex)].get(); }
  TcxRegExprParserItem* LastItem() const { return FItems.empty() ? nullptr : FItems.back().get(); }
  // Replaces the last item; the old one comes back to the caller.
  std::unique_ptr<TcxRegExprParserItem> ReplaceLastItem(std::unique_ptr<TcxRegExprParserItem> AItem);
  bool CanEmpty() const;
  bool CanMissing() const;
  std::unique_ptr<TcxRegExprParserAlt> Clone() const;
  void Print(String& AResult) const;
  // Links the items through gap states; the last gap leads to AFinishState
  // (none at the top level). Answers the first gap.
  int CreateConnections(TcxRegExprAutomat& AAutomat, int AFinishState);
  void CreateFinalStates(TcxRegExprAutomat& AAutomat) const;

 private:
  friend class TcxRegExprParserBlockItem;
  std::vector<std::unique_ptr<TcxRegExprParserItem>> FItems;
};

class TcxRegExprParserAlts {
 public:
  TcxRegExprParserAlt* AddAlt();
  int Count() const { return static_cast<int>(FAlts.size()); }
  TcxRegExprParserAlt* GetAlt(int AIndex) const { return FAlts[static_cast<std::size_t>(AIndex)].get(); }
  TcxRegExprParserAlt* LastAlt() const { return FAlts.empty() ? nullptr : FAlts.back().get(); }
  bool CanEmpty() const;
  bool StartStateIsFinal() const;
  bool ThereIsEmptyAlt() const { return StartStateIsFinal(); }
  std::unique_ptr<TcxRegExprParserAlts> Clone() const;
  void Print(String& AResult) const;
  void CreateFinalStates(TcxRegExprAutomat& AAutomat) const;

 private:
  friend class TcxRegExprParserBlockItem;
  friend class TcxRegExprAutomat;
  std::vector<std::unique_ptr<TcxRegExprParserAlt>> FAlts;
};

class TcxRegExprParserBlockItem : public TcxRegExprParserItem {
 public:
  TcxRegExprParserAlts& Alts() { return FAlts; }
  const TcxRegExprParserAlts& Alts() const { return FAlts; }
  // Brings depth, size and the empty-content answer up to date with the
  // items inside; called once the group's content is complete.
  void Recompute();
  bool CanEmpty() const override { return CanMissing() || FContentCanEmpty; }
  std::unique_ptr<TcxRegExprParserItem> Clone() const override;
  void Print(String& AResult) const override;
  void SetFinal(TcxRegExprAutomat& AAutomat) const override { FAlts.CreateFinalStates(AAutomat); }
  void CreateConnections(TcxRegExprAutomat& AAutomat) override;
  int EntryState() const override { return FStartState; }
  int ExitState() const override { return FFinishState; }

 private:
  TcxRegExprParserAlts FAlts;
  bool FContentCanEmpty = false;
  int FStartState = -1;
  int FFinishState = -1;
};

// ---------------------------------------------------------------------------
// Automaton

class TcxRegExprAutomat {
 public:
  using TStates = std::vector<int>;

  // Links the tree's states and marks the final ones.
  TcxRegExprAutomat(std::unique_ptr<TcxRegExprParserAlts> AExpr, TcxRegExpr* AOwner);

  bool IsFinal() const { return IsFinal(FCurrentStates); }
  bool IsStart() const { return !FCurrentStates.empty() && FCurrentStates.front() == FStartState; }
  bool Next(wchar_t& AToken, bool ACaseInsensitive, bool ACanChangeCase);
  bool Prev();
  String Print() const;
  void Reset();
  void Update();
  void ReUpdate();

  // Building.
  int AddState(const TcxRegExprItem* AValue);
  int AddBlockState() { return AddState(nullptr); }
  void Link(int AFrom, int ATo) { FStates[static_cast<std::size_t>(AFrom)].States.push_back(ATo); }
  void SetFinal(int AState) { FStates[static_cast<std::size_t>(AState)].IsFinal = true; }

 private:
  struct TState {
    const TcxRegExprItem* Value;  // nil for block and gap states (and the start state)
    bool IsBlock;
    bool IsFinal;
    TStates States;  // successors
  };

  bool IsFinal(const TStates& AStates) const;
  // Calls AVisit for every simple state reachable from the successors of
  // AStates through block states, each once, in depth-first order.
  template <class F>
  void WalkNext(const TStates& AStates, F AVisit);
  TStates GetAllNextStates(const TStates& AStates);
  // The simple states that may follow the current set, in walk order: kept
  // until the set changes, so rejected characters cost their tests alone.
  const TStates& Candidates();
  void SetCurrentStates(TStates&& AStates);
  // State sets are recycled: a character fed or taken back allocates nothing
  // once the history has been this long before.
  TStates NewStates();
  void FreeStates(TStates& AStates);
  bool Equ(const TStates& AStates, wchar_t& ASymbol) const;

  TcxRegExpr* FOwner;
  std::unique_ptr<TcxRegExprParserAlts> FExpr;
  std::vector<TState> FStates;
  TStates FCurrentStates;
  std::vector<TStates> FHistory;
  std::vector<TStates> FSpare;
  TStates FCandidates;
  bool FCandidatesValid = false;
  int FStartState = -1;
  // Visit marks: a state is visited in this walk when its mark equals FWalk.
  std::vector<std::uint32_t> FVisited;
  std::vector<std::uint32_t> FTaken;
  std::uint32_t FWalk = 0;
  std::uint32_t FTakenMark = 0;
  std::vector<int> FStack;
};
