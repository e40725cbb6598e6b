// The framework's object model: TObject, owned components and event closures.
//
// A TComponent may have an owner; the owner deletes every component it still owns when it is
// destroyed, and a component deleted earlier leaves its owner's list. Events are closures: a
// method bound to an object (or any callable), called with the framework's arguments. Assigning
// an event from code never calls it.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

// A method bound to an object, like the framework's closures. Data() names the bound object, so
// that code and tests can tell which window a handler belongs to.
template <typename... Args>
class TClosure {
 public:
  TClosure() = default;
  TClosure(std::nullptr_t) {}  // NOLINT: clears an event as "OnError = nullptr"

  template <class Object, class Class>
  TClosure(Object* object, void (Class::*method)(Args...))
      : data_(object),
        code_([object, method](Args... args) { (object->*method)(std::forward<Args>(args)...); }) {}

  // A free callable with no bound object (tests, internal wiring).
  template <class Callable, class = std::enable_if_t<std::is_invocable_v<Callable&, Args...> &&
                                                     !std::is_same_v<std::decay_t<Callable>, TClosure>>>
  TClosure(Callable callable) : code_(std::move(callable)) {}  // NOLINT

  explicit operator bool() const { return static_cast<bool>(code_); }
  const void* Data() const { return data_; }

  void operator()(Args... args) const {
    if (code_) code_(std::forward<Args>(args)...);
  }

 private:
  const void* data_ = nullptr;
  std::function<void(Args...)> code_;
};

using TShiftState = std::uint8_t;
constexpr TShiftState ssShift = 0x01;
constexpr TShiftState ssAlt = 0x02;
constexpr TShiftState ssCtrl = 0x04;
constexpr TShiftState ssLeft = 0x08;
constexpr TShiftState ssRight = 0x10;
constexpr TShiftState ssMiddle = 0x20;

using TNotifyEvent = TClosure<TObject*>;
using TMouseMoveEvent = TClosure<TObject*, TShiftState, int, int>;
using TKeyPressEvent = TClosure<TObject*, char&>;

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }

  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

 protected:
  // Deletes every owned component, the most recently added first. Derived classes whose owned
  // components depend on their own members call it from their destructor, before those go.
  void DestroyComponents();

 private:
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  int tag_ = 0;
};
