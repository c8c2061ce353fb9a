#include "platform/system_json.h"

#include <utility>
#include <vector>

#include "world/world_fields.h"

namespace velmora {

namespace {

using Json = nlohmann::json;

bool isWorldName(const std::string& key) {
  for (const TableField& t : worldTables()) {
    if (key == t.name) return true;
  }
  for (const ScalarField& s : worldScalars()) {
    if (key == s.name) return true;
  }
  return false;
}

// Builds the tree as nlohmann's own SAX builder does, checking the budget at every
// event; the first thing wrong stops the parser.
class BoundedBuilder {
 public:
  using number_integer_t = Json::number_integer_t;
  using number_unsigned_t = Json::number_unsigned_t;
  using number_float_t = Json::number_float_t;
  using string_t = Json::string_t;
  using binary_t = Json::binary_t;

  explicit BoundedBuilder(const JsonBudget& budget) : budget_(budget) {}

  bool null() { return put(Json()); }
  bool boolean(bool v) { return put(Json(v)); }
  bool number_integer(number_integer_t v) { return put(Json(v)); }
  bool number_unsigned(number_unsigned_t v) { return put(Json(v)); }
  bool number_float(number_float_t v, const string_t&) { return put(Json(v)); }
  bool string(string_t& v) { return put(Json(std::move(v))); }
  bool binary(binary_t&) { return refuse("it is not JSON"); }

  bool start_object(size_t) { return open(Json::object()); }
  bool key(string_t& k) {
    Open& o = stack_.back();
    if (o.node->contains(k))
      return refuse(where(stack_.size()) + " has the field \"" + k + "\" twice");
    if (o.node->size() >= budget_.objectFields) {
      return refuse(where(stack_.size()) + " has more than " +
                    std::to_string(budget_.objectFields) + " fields");
    }
    o.key = std::move(k);
    return true;
  }
  bool end_object() {
    stack_.pop_back();
    return true;
  }
  bool start_array(size_t) { return open(Json::array()); }
  bool end_array() {
    stack_.pop_back();
    return true;
  }

  bool parse_error(size_t byte, const std::string&, const nlohmann::detail::exception& e) {
    if (e.id == 406) return refuse(path() + " is not a finite number");
    if (byte >= textSize_) return refuse("it is cut short");
    return refuse("it is not JSON (at byte " + std::to_string(byte) + ")");
  }

  void setTextSize(size_t n) { textSize_ = n; }
  Json& root() { return root_; }
  const std::string& refusal() const { return refusal_; }

 private:
  struct Open {
    Json* node;
    std::string key;  // an object's field being read
  };

  bool refuse(std::string why) {
    if (refusal_.empty()) refusal_ = std::move(why);
    return false;
  }

  // The name of what is read at `depth` open containers: a World field by its own
  // name ("PlanetX(3)", "GravityExponent"), else by its path ("window.width",
  // "timers.Ti.interval"); the outermost object is "the file". `placed` when the
  // last entry of a list is the one named, not the next.
  std::string name(size_t depth, bool placed) const {
    std::string out;
    for (size_t d = 0; d < depth; ++d) {
      const Open& o = stack_[d];
      if (o.node->is_array()) {
        const size_t n = o.node->size();
        out += "(" + std::to_string(placed || d + 1 < depth ? n - 1 : n) + ")";
      } else if (isWorldName(o.key)) {
        out = o.key;
      } else {
        out += (out.empty() ? "" : ".") + o.key;
      }
    }
    return out.empty() ? "the file" : out;
  }

  // The value about to be read, and a container already open by its depth (1 for
  // the outermost).
  std::string path() const { return name(stack_.size(), false); }
  std::string where(size_t depth) const { return name(depth - 1, true); }

  // Places `v` where the parser stands: the root, the next entry of a list or the
  // field whose key was read. Returns the place, or null when over the budget.
  Json* place(Json&& v) {
    if (++values_ > budget_.values) {
      refuse("it holds more than " + std::to_string(budget_.values) +
             " values, more than a system takes");
      return nullptr;
    }
    if (stack_.empty()) {
      root_ = std::move(v);
      return &root_;
    }
    Open& o = stack_.back();
    if (o.node->is_array()) {
      if (o.node->size() >= budget_.listEntries) {
        refuse(where(stack_.size()) + " has more than " + std::to_string(budget_.listEntries) +
               " entries");
        return nullptr;
      }
      o.node->push_back(std::move(v));
      return &o.node->back();
    }
    return &((*o.node)[o.key] = std::move(v));
  }

  bool put(Json&& v) { return place(std::move(v)) != nullptr; }

  bool open(Json&& container) {
    if (stack_.empty() && !container.is_object()) {
      return refuse(std::string("it is ") + typeName(container) + ", not a Velmora system");
    }
    if (static_cast<int>(stack_.size()) >= budget_.depth) {
      return refuse(path() + " nests deeper than a system does");
    }
    Json* node = place(std::move(container));
    if (node == nullptr) return false;
    stack_.push_back({node, {}});
    return true;
  }

  JsonBudget budget_;
  Json root_;
  std::vector<Open> stack_;
  size_t values_ = 0;
  size_t textSize_ = 0;
  std::string refusal_;
};

}  // namespace

ParsedJson parseSystemJson(const std::string& text, const JsonBudget& budget) {
  BoundedBuilder builder(budget);
  builder.setTextSize(text.size());
  const bool whole = Json::sax_parse(text, &builder);
  ParsedJson out{std::move(builder.root()), builder.refusal()};
  if (!whole && out.refusal.empty()) out.refusal = "it is not JSON";
  return out;
}

const char* typeName(const nlohmann::json& j) {
  if (j.is_object()) return "an object";
  if (j.is_array()) return "a list";
  if (j.is_string()) return "a text";
  if (j.is_boolean()) return "true or false";
  if (j.is_null()) return "null";
  return "a number";
}

}  // namespace velmora
