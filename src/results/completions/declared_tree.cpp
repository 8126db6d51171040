#include "results/completions/declared_tree.h"

#include <CLI/CLI.hpp>

#include <utility>

CLI::Option* ValueHints::Complete(CLI::Option* option, ValueKind kind,
                                  std::vector<std::string> choices) {
  hints_[option] = ValueShape{kind, std::move(choices)};
  return option;
}

const ValueShape* ValueHints::Find(const CLI::Option* option) const {
  const auto found = hints_.find(option);
  return found == hints_.end() ? nullptr : &found->second;
}

namespace {

ValueShape ValueOf(const CLI::Option& option, const ValueHints& hints) {
  if (const ValueShape* hint = hints.Find(&option)) {
    return *hint;
  }
  return ValueShape{option.get_items_expected_max() == 0 ? ValueKind::None : ValueKind::Text, {}};
}

// CLI11 hides what belongs to no group from --help.
bool Hidden(const CLI::Option& option) {
  return option.get_group().empty();
}

std::vector<OptionNode> OptionsOf(const CLI::App& app, const ValueHints& hints) {
  std::vector<OptionNode> options;
  for (const CLI::Option* option : app.get_options()) {
    if (!option->nonpositional() || Hidden(*option)) {
      continue;
    }
    OptionNode node;
    for (const std::string& name : option->get_lnames()) {
      node.names.push_back("--" + name);
    }
    for (const std::string& name : option->get_snames()) {
      node.names.push_back("-" + name);
    }
    node.description = option->get_description();
    node.value = ValueOf(*option, hints);
    node.repeats = node.value.kind != ValueKind::None && option->get_expected_max() > 1;
    options.push_back(std::move(node));
  }
  return options;
}

}  // namespace

CommandTree DeclaredTree(const std::string& program, const CLI::App& app, const ValueHints& hints) {
  CommandTree tree;
  tree.program = program;
  tree.options = OptionsOf(app, hints);
  for (const CLI::App* command : app.get_subcommands({})) {
    CommandNode node;
    node.name = command->get_name();
    node.description = command->get_description();
    node.hidden = command->get_group().empty();
    node.options = OptionsOf(*command, hints);
    // Each command takes one kind of argument (files, directories, a shell), declared once.
    for (const CLI::Option* option : command->get_options()) {
      if (option->nonpositional() || Hidden(*option)) {
        continue;
      }
      node.argumentName = option->get_name(true);
      node.argument = ValueOf(*option, hints);
      node.manyArguments = option->get_expected_max() > 1;
    }
    tree.commands.push_back(std::move(node));
  }
  return tree;
}
