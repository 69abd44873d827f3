// The one list type for every kind of game entity.
//
// Append keeps creation order. Removal takes effect at once: a removed element is not
// visited again, not counted and not found. Removing any element, the current one
// included, during a walk is safe, and so are walks nested inside walks over the same
// list. Storage of removed elements is reclaimed only when no walk is running, so a
// pointer held during a walk stays valid until that walk ends.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

template <typename T>
class EntityList {
  struct Node {
    T value;
    bool alive = true;
  };

 public:
  class iterator {
   public:
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using reference = T&;
    using pointer = T*;

    iterator() = default;
    iterator(EntityList* list, std::size_t index) : list_(list), index_(index) {
      ++list_->walks_;
      Skip();
    }
    iterator(const iterator& other) : list_(other.list_), index_(other.index_) {
      if (list_) ++list_->walks_;
    }
    iterator& operator=(const iterator& other) {
      if (this != &other) {
        Release();
        list_ = other.list_;
        index_ = other.index_;
        if (list_) ++list_->walks_;
      }
      return *this;
    }
    ~iterator() { Release(); }

    T& operator*() const { return list_->nodes_[index_]->value; }
    T* operator->() const { return &list_->nodes_[index_]->value; }
    iterator& operator++() {
      ++index_;
      Skip();
      return *this;
    }
    // Compared only with end(): elements appended during a walk are visited too.
    bool operator==(std::nullptr_t) const { return !list_ || index_ >= list_->nodes_.size(); }

   private:
    void Skip() {
      while (index_ < list_->nodes_.size() && !list_->nodes_[index_]->alive) ++index_;
    }
    void Release() {
      if (list_ && --list_->walks_ == 0) list_->Compact();
      list_ = nullptr;
    }
    EntityList* list_ = nullptr;
    std::size_t index_ = 0;
  };

  EntityList() = default;
  EntityList(const EntityList&) = delete;
  EntityList& operator=(const EntityList&) = delete;

  iterator begin() { return iterator(this, 0); }
  std::nullptr_t end() { return nullptr; }

  // Appends a copy of value and returns the stored element.
  T* Add(T value = T{}) {
    nodes_.push_back(std::make_unique<Node>(Node{std::move(value), true}));
    ++count_;
    return &nodes_.back()->value;
  }

  // Removes the element; nothing happens for one already removed or not in the list.
  void Remove(const T* element) {
    Node* node = Find(element);
    if (!node) return;
    node->alive = false;
    --count_;
    if (walks_ == 0) Compact();
  }

  bool Contains(const T* element) const { return Find(element) != nullptr; }
  std::size_t Count() const { return count_; }
  bool Empty() const { return count_ == 0; }

  // The first and last live elements, or nullptr.
  T* First() {
    for (auto& n : nodes_)
      if (n->alive) return &n->value;
    return nullptr;
  }
  T* Last() {
    for (auto it = nodes_.rbegin(); it != nodes_.rend(); ++it)
      if ((*it)->alive) return &(*it)->value;
    return nullptr;
  }

  void Clear() {
    for (auto& n : nodes_) n->alive = false;
    count_ = 0;
    if (walks_ == 0) Compact();
  }

 private:
  Node* Find(const T* element) const {
    if (!element) return nullptr;
    for (auto& n : nodes_)
      if (n->alive && &n->value == element) return n.get();
    return nullptr;
  }
  void Compact() {
    if (count_ == nodes_.size()) return;
    std::erase_if(nodes_, [](const std::unique_ptr<Node>& n) { return !n->alive; });
  }

  std::vector<std::unique_ptr<Node>> nodes_;
  std::size_t count_ = 0;
  int walks_ = 0;
};
