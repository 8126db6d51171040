// The completion tree is read from the command line as declared: commands, options, flags,
// descriptions and what is hidden come from CLI11, the kinds of values from the hints.
#include <gtest/gtest.h>
#include <CLI/CLI.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "results/commands/commands.h"
#include "results/completions/completion_scripts.h"
#include "results/completions/declared_tree.h"

namespace {

using Names = std::vector<std::string>;

// A command line in the program's shape: a command with every kind of option, and a hidden one.
struct Declared {
  CLI::App app{"A tool"};
  ValueHints hints;
  std::vector<std::string> files, labels;
  std::string format, secret, shell;
  bool yes = false;

  Declared() {
    app.set_version_flag("--version", "1.0");
    CLI::App* show = app.add_subcommand("show", "Show the files");
    hints.Complete(show->add_option("files", files, "Files to show"), ValueKind::ResultsFile);
    hints.Complete(show->add_option("--format", format, "How"), ValueKind::Choice,
                   {"text", "json"});
    show->add_option("--label", labels, "Names")->allow_extra_args(false);
    show->add_flag("--yes,-y", yes, "Agree");
    show->add_option("--secret", secret, "Not for users")->group("");
    CLI::App* completions = app.add_subcommand("completions", "Scripts")->group("");
    hints.Complete(completions->add_option("shell", shell, "Which"), ValueKind::Choice, {"bash"});
  }
};

TEST(DeclaredTree, TakesEveryCommandOptionAndArgumentAsDeclared) {
  Declared declared;
  const CommandTree tree = DeclaredTree("tool", declared.app, declared.hints);
  EXPECT_EQ(tree.program, "tool");
  ASSERT_EQ(tree.options.size(), 2u);
  EXPECT_EQ(tree.options[0].names, (Names{"--help", "-h"}));
  EXPECT_EQ(tree.options[0].value.kind, ValueKind::None);
  EXPECT_EQ(tree.options[1].names, (Names{"--version"}));
  EXPECT_EQ(tree.options[1].value.kind, ValueKind::None);

  ASSERT_EQ(tree.commands.size(), 2u);
  const CommandNode& show = tree.commands[0];
  EXPECT_EQ(show.name, "show");
  EXPECT_EQ(show.description, "Show the files");
  EXPECT_FALSE(show.hidden);
  EXPECT_EQ(show.argumentName, "files");
  EXPECT_EQ(show.argument.kind, ValueKind::ResultsFile);
  EXPECT_TRUE(show.manyArguments);
  // The hidden --secret is left out; the command's own --help is in.
  ASSERT_EQ(show.options.size(), 4u);
  EXPECT_EQ(show.options[0].names, (Names{"--help", "-h"}));
  const OptionNode& format = show.options[1];
  EXPECT_EQ(format.names, (Names{"--format"}));
  EXPECT_EQ(format.description, "How");
  EXPECT_EQ(format.value.kind, ValueKind::Choice);
  EXPECT_EQ(format.value.choices, (Names{"text", "json"}));
  EXPECT_FALSE(format.repeats);
  const OptionNode& label = show.options[2];
  EXPECT_EQ(label.value.kind, ValueKind::Text) << "a value without a hint is free text";
  EXPECT_TRUE(label.repeats);
  const OptionNode& yes = show.options[3];
  EXPECT_EQ(yes.names, (Names{"--yes", "-y"}));
  EXPECT_EQ(yes.value.kind, ValueKind::None);
  EXPECT_FALSE(yes.repeats);

  const CommandNode& completions = tree.commands[1];
  EXPECT_TRUE(completions.hidden);
  EXPECT_EQ(completions.argument.kind, ValueKind::Choice);
  EXPECT_EQ(completions.argument.choices, (Names{"bash"}));
  EXPECT_FALSE(completions.manyArguments);
}

TEST(DeclaredTree, TheCompletionsCommandWritesTheScriptOfTheShellNamed) {
  Declared declared;
  const CommandTree tree = DeclaredTree("tool", declared.app, declared.hints);
  for (const std::string& shell : CompletionShellNames()) {
    std::ostringstream out, err;
    EXPECT_EQ(CompletionsCommand(tree, shell, {out, err}), 0) << shell;
    EXPECT_NE(out.str().find("tool"), std::string::npos) << shell;
    EXPECT_EQ(err.str(), "");
  }
  std::ostringstream out, err;
  EXPECT_EQ(CompletionsCommand(tree, "tcsh", {out, err}), 2);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("bash, zsh, fish, powershell"), std::string::npos) << err.str();
}

}  // namespace
