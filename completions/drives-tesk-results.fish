# fish completion for drives-tesk-results, written by `drives-tesk-results completions fish`
# from the program's own command line: generate it anew rather than edit it.

# True when the command given so far is $argv[1] ('' before one is given): the first
# word after the program that is no option, as the program's own options take no value.
function __drives_tesk_results_in
    set -l words (commandline -opc)
    set -e words[1]
    for word in $words
        if not string match -q -- '-*' $word
            test "$word" = "$argv[1]"
            return
        end
    end
    test -z "$argv[1]"
end

# Results files first, then directories, then every file (for complete -k): the paths
# fish offers for the current word, as it offers them to a command it knows nothing of.
function __drives_tesk_results_results_files
    set -l word (commandline -ct)
    set -l paths (complete -C "__drives_tesk_results_no_such_command $word")
    string match -r -- '^(?:.*/)?results_drives_tesk_windows[^/]*\\.txt$' $paths
    string match -- '*/' $paths
    printf '%s\n' $paths
end

# No file names but where a command takes them.
complete -c drives-tesk-results -f

complete -c drives-tesk-results -n '__drives_tesk_results_in ""' -l help -s h -d 'Print this help message and exit'
complete -c drives-tesk-results -n '__drives_tesk_results_in ""' -l version -d 'Display program version information and exit'
complete -c drives-tesk-results -n '__drives_tesk_results_in ""' -a 'show' -d 'Show the figures of results files side by side, with the change against the first'
complete -c drives-tesk-results -n '__drives_tesk_results_in ""' -a 'chart' -d 'Draw the figures as bar charts into one SVG file'
complete -c drives-tesk-results -n '__drives_tesk_results_in ""' -a 'clean' -d 'List the scratch files the benchmark left in a directory; remove them with --yes'
complete -c drives-tesk-results -n '__drives_tesk_results_in ""' -a 'run' -d 'Run drives-tesk in each directory, repeated and interleaved, and compare the runs'

complete -c drives-tesk-results -n '__drives_tesk_results_in show' -l help -s h -d 'Print this help message and exit'
complete -c drives-tesk-results -n '__drives_tesk_results_in show' -l label -x -d 'Name the columns, in file order (repeat for each file)'
complete -c drives-tesk-results -n '__drives_tesk_results_in show' -l format -x -a 'text markdown csv json html' -d 'Output: text (aligned, default), markdown, csv, json or html (one self-contained page)'
complete -c drives-tesk-results -n '__drives_tesk_results_in show' -l each -d 'Every run its own column (default: repeats of one directory as one column, their median)'
complete -c drives-tesk-results -n '__drives_tesk_results_in show' -l threshold -x -d 'Changes whose 95% interval stays within this many percent either way are the same (default 3)'
complete -c drives-tesk-results -n '__drives_tesk_results_in show' -l baseline -x -d 'The column every other is compared with, by its label or the label\'s first words (default: the first column)'
complete -c drives-tesk-results -n '__drives_tesk_results_in show' -l title -x -d 'The heading of the html page (default: "A compared with B")'
complete -c drives-tesk-results -n '__drives_tesk_results_in show' -k -a '(__drives_tesk_results_results_files)'

complete -c drives-tesk-results -n '__drives_tesk_results_in chart' -l help -s h -d 'Print this help message and exit'
complete -c drives-tesk-results -n '__drives_tesk_results_in chart' -l label -x -d 'Name the bars, in file order (repeat for each file)'
complete -c drives-tesk-results -n '__drives_tesk_results_in chart' -l output -s o -r -F -d 'The SVG file to write'
complete -c drives-tesk-results -n '__drives_tesk_results_in chart' -l each -d 'Every run its own column (default: repeats of one directory as one column, their median)'
complete -c drives-tesk-results -n '__drives_tesk_results_in chart' -l threshold -x -d 'Changes whose 95% interval stays within this many percent either way are the same (default 3)'
complete -c drives-tesk-results -n '__drives_tesk_results_in chart' -l baseline -x -d 'The column every other is compared with, by its label or the label\'s first words (default: the first column)'
complete -c drives-tesk-results -n '__drives_tesk_results_in chart' -k -a '(__drives_tesk_results_results_files)'

complete -c drives-tesk-results -n '__drives_tesk_results_in clean' -l help -s h -d 'Print this help message and exit'
complete -c drives-tesk-results -n '__drives_tesk_results_in clean' -l yes -s y -d 'Remove the files listed'
complete -c drives-tesk-results -n '__drives_tesk_results_in clean' -a '(__fish_complete_directories)'

complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l help -s h -d 'Print this help message and exit'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l repeat -x -d 'Runs per directory (default 5)'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l until-decided -d 'Rounds of one run per directory until every figure of interest is decided (paired by round, looked at after each), out of reach, or a limit is met'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l max-runs -x -d 'With --until-decided: at most this many rounds (default 30)'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l budget -x -d 'With --until-decided: start no round expected to end past this time (90s, 30m, 1h30m, or seconds)'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l decide -x -d 'With --until-decided: the figures that hold the session, by their CSV keys (default: the rates, single thread and all workers, timed long enough to trust)'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l threads -x -d 'Workers of the multi-thread phase (sets OMP_NUM_THREADS; default: as the environment says)'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l benchmark -r -F -d 'The drives-tesk to run (default: the one beside this program, else the one on PATH)'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l timeout -x -d 'Stop a run that takes longer than this many seconds; the others go on (default: no limit)'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l keep-scratch -d 'Leave the benchmark\'s scratch files (default: removed at the end)'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l threshold -x -d 'Changes whose 95% interval stays within this many percent either way are the same (default 3)'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l baseline -x -d 'The column every other is compared with, by its label or the label\'s first words (default: the first column)'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l label -x -d 'Name the columns, once per DIR in order'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l progress -x -a 'auto json none' -d 'While it runs: auto (a status line on a terminal and a line per run), json (JSON Lines on standard error) or none'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l format -x -a 'text markdown csv json html' -d 'The comparison: as show --format'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -l title -x -d 'The heading of the html page (default: "A compared with B")'
complete -c drives-tesk-results -n '__drives_tesk_results_in run' -a '(__fish_complete_directories)'

complete -c drives-tesk-results -n '__drives_tesk_results_in completions' -l help -s h -d 'Print this help message and exit'
complete -c drives-tesk-results -n '__drives_tesk_results_in completions' -a 'bash zsh fish powershell'
