#include "frame/TCollection.h"

#include <algorithm>

#include "frame/ClassBuilder.h"
#include "frame/Fixups.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace frame {

const TClassInfo* TCollectionItem::StaticClass() {
    static const auto info =
        TClassBuilder<TCollectionItem>("TCollectionItem", TPersistent::StaticClass()).Build();
    return info.get();
}

const TClassInfo* TCollection::StaticClass() {
    static const auto info =
        TClassBuilder<TCollection>("TCollection", TPersistent::StaticClass()).Build();
    return info.get();
}

TCollectionItem::~TCollectionItem() {
    // A reference to another form that is still waiting must not be stored into a freed item.
    RemoveGlobalFixupsFor(this);
    if (m_collection)
        m_collection->Detach(this);
}

int TCollectionItem::Index() const {
    if (!m_collection)
        return -1;
    auto& items = m_collection->m_items;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

TPersistent* TCollectionItem::GetOwner() const {
    return m_collection;
}

TCollection::TCollection(const TClassInfo* itemClass, TPersistent* owner)
    : m_itemClass(itemClass), m_owner(owner) {}

TCollection::~TCollection() {
    m_updateCount = 1; // no Changed() from a half-destroyed object
    Clear();
}

TCollectionItem* TCollection::Add() {
    TObject* object = m_itemClass && m_itemClass->create ? m_itemClass->create(nullptr) : nullptr;
    auto* item = As<TCollectionItem>(object);
    if (!item) {
        delete object;
        throw rtl::EInvalidOperation("Cannot create an item of class %s",
                                     m_itemClass ? m_itemClass->name : std::string("nil"));
    }
    item->m_collection = this;
    item->m_id = m_nextId++;
    m_items.push_back(item);
    if (m_updateCount == 0)
        Changed();
    return item;
}

void TCollection::Clear() {
    if (m_items.empty())
        return;
    BeginUpdate();
    while (!m_items.empty())
        delete m_items.back();
    EndUpdate();
}

void TCollection::Delete(int index) {
    delete m_items.at(index);
}

void TCollection::Detach(TCollectionItem* item) {
    m_items.erase(std::remove(m_items.begin(), m_items.end(), item), m_items.end());
    item->m_collection = nullptr;
    if (m_updateCount == 0)
        Changed();
}

void TCollection::EndUpdate() {
    if (m_updateCount > 0 && --m_updateCount == 0)
        Changed();
}

void TCollection::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    rtl::ScopeExit endUpdate([this] { EndUpdate(); });
    Clear();
    for (TCollectionItem* from : other->m_items)
        Add()->Assign(from);
}

} // namespace frame
