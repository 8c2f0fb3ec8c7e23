#pragma once

#include "platform/tavi/SharedMultiMap.hpp"

#include <functional>
#include <map>

namespace TAVI {

// An ordered map with implicit sharing (see SharedMultiMap): insert() keeps one value per key;
// insertMulti() adds another value under a key (values of a key keep their insertion order).
// Keys are iterated in ascending order.
template <typename K, typename V, typename Less = std::less<K>>
class GMap : public detail::SharedMultiMap<std::multimap<K, V, Less>> {};

} // namespace TAVI
