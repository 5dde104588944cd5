#pragma once
// A readable account of a component tree: each component's class, name and owner, then each
// published property whose value differs from its default, one per line. formtool's "load"
// prints it.
#include <string>

namespace frame {

class TComponent;

std::string DescribeComponentTree(TComponent* root);

} // namespace frame
