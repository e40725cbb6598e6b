// The framework's object model: TObject, owned components and event closures.
//
// A TComponent may have an owner; the owner deletes every component it still owns when it is
// destroyed, and a component deleted earlier leaves its owner's list. Events are closures: a
// method bound to an object (or any callable), called with the framework's arguments. Assigning
// an event from code never calls it.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

// A method bound to an object, like the framework's closures, or any callable. Data() names the
// bound object and Is() the bound method, so that code and tests can tell which handler of which
// window an event runs. A bound method is held as the object pointer, the member pointer and one
// function pointer, so that copying and calling one costs no allocation.
template <typename... Args>
class TClosure {
 public:
  TClosure() = default;
  TClosure(std::nullptr_t) {}  // NOLINT: clears an event as "OnError = nullptr"

  template <class Object, class Class>
  TClosure(Object* object, void (Class::*method)(Args...))
      : object_(static_cast<Class*>(object)), call_(&CallMethod<Class>) {
    static_assert(sizeof method <= sizeof method_, "a member pointer of this ABI does not fit");
    std::memcpy(method_, &method, sizeof method);
  }

  // A free callable with no bound object (tests, internal wiring).
  template <class Callable, class = std::enable_if_t<std::is_invocable_v<Callable&, Args...> &&
                                                     !std::is_same_v<std::decay_t<Callable>, TClosure>>>
  TClosure(Callable callable) : callable_(std::move(callable)) {}  // NOLINT

  explicit operator bool() const { return call_ != nullptr || static_cast<bool>(callable_); }
  const void* Data() const { return object_; }

  // Whether this closure runs exactly `method` on exactly `object`. A free callable is no method.
  template <class Object, class Class>
  bool Is(const Object* object, void (Class::*method)(Args...)) const {
    if (call_ != &CallMethod<Class>) return false;
    if (object_ != static_cast<const void*>(static_cast<const Class*>(object))) return false;
    return StoredMethod<Class>() == method;
  }

  void operator()(Args... args) const {
    if (call_ != nullptr) {
      call_(*this, std::forward<Args>(args)...);
    } else if (callable_) {
      callable_(std::forward<Args>(args)...);
    }
  }

 private:
  template <class Class>
  using Method = void (Class::*)(Args...);

  template <class Class>
  Method<Class> StoredMethod() const {
    Method<Class> method;
    std::memcpy(&method, method_, sizeof method);
    return method;
  }

  // One instance per class: its address also tells which class the stored member pointer is of.
  template <class Class>
  static void CallMethod(const TClosure& self, Args... args) {
    (static_cast<Class*>(self.object_)->*self.StoredMethod<Class>())(std::forward<Args>(args)...);
  }

  void* object_ = nullptr;
  alignas(void*) unsigned char method_[2 * sizeof(void*)] = {};
  void (*call_)(const TClosure&, Args...) = nullptr;
  std::function<void(Args...)> callable_;
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
