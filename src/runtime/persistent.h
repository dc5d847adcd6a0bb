#pragma once
/// An object with published properties: a component, or a sub-object of one such
/// as a font, a brush or a chart wall. A form description sets these properties by
/// name through the class's property table. TPersistent is not a component: it has
/// no name, no owner and no notifications.
/// @file
#include <string_view>

namespace tarvela {

class PropertyTable;

class TPersistent {
 public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = default;
  TPersistent& operator=(const TPersistent&) = default;
  virtual ~TPersistent();

  /// The class name a description uses for it, e.g. "TLabel".
  virtual std::string_view ClassName() const = 0;
  /// The published properties of the object's class; the base has none.
  virtual const PropertyTable& Properties() const;
};

}  // namespace tarvela
