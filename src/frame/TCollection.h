#pragma once
// Collections: an owned list of items of one item class, streamed as one property value.
#include <vector>

#include "frame/TPersistent.h"

namespace frame {

class TCollection;

class TCollectionItem : public TPersistent {
public:
    ZORVANE_CLASS(TCollectionItem)

    TCollectionItem() = default;
    ~TCollectionItem() override;

    TCollection* Collection() const { return m_collection; }
    int Index() const;
    int ID() const { return m_id; }
    TPersistent* GetOwner() const override;

private:
    friend class TCollection;
    TCollection* m_collection = nullptr;
    int m_id = 0;
};

class TCollection : public TPersistent {
public:
    ZORVANE_CLASS(TCollection)

    // `itemClass` must describe a TCollectionItem with a default constructor.
    explicit TCollection(const TClassInfo* itemClass, TPersistent* owner = nullptr);
    TCollection() : TCollection(TCollectionItem::StaticClass()) {}
    ~TCollection() override;

    const TClassInfo* ItemClass() const { return m_itemClass; }
    int Count() const { return static_cast<int>(m_items.size()); }
    TCollectionItem* Items(int index) const { return m_items.at(index); }
    TCollectionItem* Add();
    void Clear();
    void Delete(int index);
    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate();
    int UpdateCount() const { return m_updateCount; }
    void Assign(const TPersistent* source) override;
    TPersistent* GetOwner() const override { return m_owner; }

protected:
    // Told after items change, when no update is in progress.
    virtual void Changed() {}

private:
    friend class TCollectionItem;
    void Detach(TCollectionItem* item);

    const TClassInfo* m_itemClass;
    TPersistent* m_owner;
    std::vector<TCollectionItem*> m_items;
    int m_updateCount = 0;
    int m_nextId = 0;
};

} // namespace frame
