// Actions: commands shared by several controls, with the state they show.
//
// Classes in this file:
//   TBasicAction            an executable command with OnExecute/OnUpdate
//   TBasicActionLink        what ties one client (a control) to an action
//   TCustomAction, TAction  caption, enabled, checked, visible, hint, shortcut
//   THintAction             the application's current hint, offered to controls
//   TActionLink             the link to a TCustomAction
//   TControlActionLink      the link of a control: which of its properties
//                           follow the action
//
// A change of the action tells every link (its OnChange), and the control
// takes the new values in ActionChange.
#pragma once

#include "platform/classes/Component.h"

#include <vector>

class TBasicActionLink;
class TControl;

class TBasicAction : public TComponent {
  SK_CLASS(TBasicAction, TComponent)
 public:
  static void Publish(TPublisher<TBasicAction>& P);
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // Runs OnExecute; without one the application offers the action to the
  // controls of the active form (TControl::ExecuteAction). Answers whether
  // something ran it.
  virtual bool Execute();
  // Runs OnUpdate; answers whether there was one.
  virtual bool Update();
  // Whether the action works on a target offered to it, and the work.
  virtual bool HandlesTarget(TObject*) { return false; }
  virtual void ExecuteTarget(TObject*) {}
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* AValue) { FActionComponent = AValue; }

  void RegisterChanges(TBasicActionLink* ALink);
  void UnRegisterChanges(TBasicActionLink* ALink);
  int ClientCount() const { return static_cast<int>(FClients.size()); }

  TNotifyEvent OnExecute() const { return FOnExecute; }
  virtual void SetOnExecute(TNotifyEvent AValue);
  TNotifyEvent OnUpdate() const { return FOnUpdate; }
  void SetOnUpdate(TNotifyEvent AValue) { FOnUpdate = AValue; }

 protected:
  // Tells every link that the action changed.
  virtual void Change();

 private:
  std::vector<TBasicActionLink*> FClients;
  TComponent* FActionComponent;
  TNotifyEvent FOnExecute;
  TNotifyEvent FOnUpdate;
};

class TBasicActionLink : public TObject {
  SK_CLASS(TBasicActionLink, TObject)
 public:
  void Create(TObject* AClient);
  void Destroy() override;

  TBasicAction* Action() const { return FAction; }
  virtual void SetAction(TBasicAction* AValue);
  // Executes the action for AComponent (which becomes ActionComponent).
  virtual bool Execute(TComponent* AComponent = nullptr);
  virtual bool Update();
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  friend class TBasicAction;
  virtual void Change() { CallEvent(FOnChange, FAction); }
  TObject* FClient;

 private:
  TBasicAction* FAction;
  TNotifyEvent FOnChange;
};

using TShortCut = WORD;

class TCustomAction : public TBasicAction {
  SK_CLASS(TCustomAction, TBasicAction)
 public:
  void Create(TComponent* AOwner) override;
  bool Execute() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& AValue);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);
  bool Checked() const { return FChecked; }
  void SetChecked(bool AValue);
  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue);
  const String& Hint() const { return FHint; }
  void SetHint(const String& AValue);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int AValue);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut AValue);
  // Checked toggles before each execution.
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool AValue) { FAutoCheck = AValue; }
  // Actions of one group index above 0 are checked one at a time.
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int AValue);

 private:
  String FCaption;
  bool FEnabled;
  bool FChecked;
  bool FVisible;
  String FHint;
  int FImageIndex;
  TShortCut FShortCut;
  bool FAutoCheck;
  int FGroupIndex;
};

class TAction : public TCustomAction {
  SK_CLASS(TAction, TCustomAction)
 public:
  static void Publish(TPublisher<TAction>& P);
};

// When the application's hint changes and it has no OnHint, an action with
// the hint goes round the controls; one that shows hints by itself takes it.
class THintAction : public TCustomAction {
  SK_CLASS(THintAction, TCustomAction)
};

class TActionLink : public TBasicActionLink {
  SK_CLASS(TActionLink, TBasicActionLink)
 public:
  // Whether the client's property follows the action.
  virtual bool IsCaptionLinked() const;
  virtual bool IsEnabledLinked() const;
  virtual bool IsHintLinked() const;
  virtual bool IsVisibleLinked() const;
  virtual bool IsOnExecuteLinked() const;

 protected:
  TCustomAction* CustomAction() const;
};

class TControlActionLink : public TActionLink {
  SK_CLASS(TControlActionLink, TActionLink)
 public:
  void Create(TControl* AClient);
  TControl* Client() const { return FControl; }
  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;

 private:
  TControl* FControl;
};

void ActnListInitialization();
