# PowerShell completion for drives-tesk-results, written by `drives-tesk-results completions powershell`
# from the program's own command line: generate it anew rather than edit it.
# Load it from your profile (notepad $PROFILE) with a line such as
#     . C:\Tools\drives-tesk-results.ps1
# (the folder this file is in), or in the current session with . .\drives-tesk-results.ps1

Register-ArgumentCompleter -Native -CommandName 'drives-tesk-results', 'drives-tesk-results.exe' -ScriptBlock {
    param($wordToComplete, $commandAst, $cursorPosition)

    # Per command ('' before one is given): its options, each with its names, its
    # description and its value (none for a flag, text, choice, directory, results-file
    # or file), and what its arguments are.
    $commands = @{
        '' = @{
            Options = @(
                @{ Names = @('--help', '-h'); Description = 'Print this help message and exit'; Value = 'none'; Choices = @() }
                @{ Names = @('--version'); Description = 'Display program version information and exit'; Value = 'none'; Choices = @() }
            )
            Argument = 'command'; Choices = @()
        }
        'show' = @{
            Options = @(
                @{ Names = @('--help', '-h'); Description = 'Print this help message and exit'; Value = 'none'; Choices = @() }
                @{ Names = @('--label'); Description = 'Name the columns, in file order (repeat for each file)'; Value = 'text'; Choices = @() }
                @{ Names = @('--format'); Description = 'Output: text (aligned, default), markdown, csv, json or html (one self-contained page)'; Value = 'choice'; Choices = @('text', 'markdown', 'csv', 'json', 'html') }
                @{ Names = @('--each'); Description = 'Every run its own column (default: repeats of one directory as one column, their median)'; Value = 'none'; Choices = @() }
                @{ Names = @('--threshold'); Description = 'Changes whose 95% interval stays within this many percent either way are the same (default 3)'; Value = 'text'; Choices = @() }
                @{ Names = @('--baseline'); Description = 'The column every other is compared with, by its label or the label''s first words (default: the first column)'; Value = 'text'; Choices = @() }
                @{ Names = @('--title'); Description = 'The heading of the html page (default: "A compared with B")'; Value = 'text'; Choices = @() }
            )
            Argument = 'results-file'; Choices = @()
        }
        'chart' = @{
            Options = @(
                @{ Names = @('--help', '-h'); Description = 'Print this help message and exit'; Value = 'none'; Choices = @() }
                @{ Names = @('--label'); Description = 'Name the bars, in file order (repeat for each file)'; Value = 'text'; Choices = @() }
                @{ Names = @('--output', '-o'); Description = 'The SVG file to write'; Value = 'file'; Choices = @() }
                @{ Names = @('--each'); Description = 'Every run its own column (default: repeats of one directory as one column, their median)'; Value = 'none'; Choices = @() }
                @{ Names = @('--threshold'); Description = 'Changes whose 95% interval stays within this many percent either way are the same (default 3)'; Value = 'text'; Choices = @() }
                @{ Names = @('--baseline'); Description = 'The column every other is compared with, by its label or the label''s first words (default: the first column)'; Value = 'text'; Choices = @() }
            )
            Argument = 'results-file'; Choices = @()
        }
        'clean' = @{
            Options = @(
                @{ Names = @('--help', '-h'); Description = 'Print this help message and exit'; Value = 'none'; Choices = @() }
                @{ Names = @('--yes', '-y'); Description = 'Remove the files listed'; Value = 'none'; Choices = @() }
            )
            Argument = 'directory'; Choices = @()
        }
        'run' = @{
            Options = @(
                @{ Names = @('--help', '-h'); Description = 'Print this help message and exit'; Value = 'none'; Choices = @() }
                @{ Names = @('--repeat'); Description = 'Runs per directory (default 5)'; Value = 'text'; Choices = @() }
                @{ Names = @('--until-decided'); Description = 'Rounds of one run per directory until every figure of interest is decided (paired by round, looked at after each), out of reach, or a limit is met'; Value = 'none'; Choices = @() }
                @{ Names = @('--max-runs'); Description = 'With --until-decided: at most this many rounds (default 30)'; Value = 'text'; Choices = @() }
                @{ Names = @('--budget'); Description = 'With --until-decided: start no round expected to end past this time (90s, 30m, 1h30m, or seconds)'; Value = 'text'; Choices = @() }
                @{ Names = @('--decide'); Description = 'With --until-decided: the figures that hold the session, by their CSV keys (default: the rates, single thread and all workers, timed long enough to trust)'; Value = 'text'; Choices = @() }
                @{ Names = @('--threads'); Description = 'Workers of the multi-thread phase (sets OMP_NUM_THREADS; default: as the environment says)'; Value = 'text'; Choices = @() }
                @{ Names = @('--benchmark'); Description = 'The drives-tesk to run (default: the one beside this program, else the one on PATH)'; Value = 'file'; Choices = @() }
                @{ Names = @('--timeout'); Description = 'Stop a run that takes longer than this many seconds; the others go on (default: no limit)'; Value = 'text'; Choices = @() }
                @{ Names = @('--keep-scratch'); Description = 'Leave the benchmark''s scratch files (default: removed at the end)'; Value = 'none'; Choices = @() }
                @{ Names = @('--threshold'); Description = 'Changes whose 95% interval stays within this many percent either way are the same (default 3)'; Value = 'text'; Choices = @() }
                @{ Names = @('--baseline'); Description = 'The column every other is compared with, by its label or the label''s first words (default: the first column)'; Value = 'text'; Choices = @() }
                @{ Names = @('--label'); Description = 'Name the columns, once per DIR in order'; Value = 'text'; Choices = @() }
                @{ Names = @('--progress'); Description = 'While it runs: auto (a status line on a terminal and a line per run), json (JSON Lines on standard error) or none'; Value = 'choice'; Choices = @('auto', 'json', 'none') }
                @{ Names = @('--format'); Description = 'The comparison: as show --format'; Value = 'choice'; Choices = @('text', 'markdown', 'csv', 'json', 'html') }
                @{ Names = @('--title'); Description = 'The heading of the html page (default: "A compared with B")'; Value = 'text'; Choices = @() }
            )
            Argument = 'directory'; Choices = @()
        }
        'completions' = @{
            Options = @(
                @{ Names = @('--help', '-h'); Description = 'Print this help message and exit'; Value = 'none'; Choices = @() }
            )
            Argument = 'choice'; Choices = @('bash', 'zsh', 'fish', 'powershell')
        }
    }
    $commandNames = @(
        @{ Name = 'show'; Description = 'Show the figures of results files side by side, with the change against the first' }
        @{ Name = 'chart'; Description = 'Draw the figures as bar charts into one SVG file' }
        @{ Name = 'clean'; Description = 'List the scratch files the benchmark left in a directory; remove them with --yes' }
        @{ Name = 'run'; Description = 'Run drives-tesk in each directory, repeated and interleaved, and compare the runs' }
    )

    # The words before the one completed; the command is the first after the program
    # that is no option, as the program's own options take no value.
    $before = @($commandAst.CommandElements |
        Where-Object { $_.Extent.EndOffset -lt $cursorPosition } |
        ForEach-Object { $_.Extent.Text })
    $command = ''
    for ($i = 1; $i -lt $before.Count; $i++) {
        if (-not $before[$i].StartsWith('-')) {
            $command = $before[$i]
            break
        }
    }
    $entry = $commands[$command]
    if ($null -eq $entry) {
        return
    }
    $previous = ''
    if ($before.Count -gt 1) {
        $previous = $before[$before.Count - 1]
    }
    $ordinal = [System.StringComparison]::Ordinal

    $value = $null
    foreach ($option in $entry.Options) {
        if ($option.Value -ne 'none' -and $option.Names -ccontains $previous) {
            $value = $option
        }
    }
    if ($null -eq $value -and $wordToComplete.StartsWith('-')) {
        foreach ($option in $entry.Options) {
            foreach ($name in $option.Names) {
                if ($name.StartsWith($wordToComplete, $ordinal)) {
                    [System.Management.Automation.CompletionResult]::new(
                        $name, $name, 'ParameterName', $option.Description)
                }
            }
        }
        return
    }
    $kind = $entry.Argument
    $choices = $entry.Choices
    if ($null -ne $value) {
        $kind = $value.Value
        $choices = $value.Choices
    }
    $paths = @()
    if ($kind -eq 'directory' -or $kind -eq 'results-file' -or $kind -eq 'file') {
        $paths = @([System.Management.Automation.CompletionCompleters]::CompleteFilename(
            $wordToComplete))
    }
    switch ($kind) {
        'command' {
            foreach ($entry in $commandNames) {
                if ($entry.Name.StartsWith($wordToComplete, $ordinal)) {
                    [System.Management.Automation.CompletionResult]::new(
                        $entry.Name, $entry.Name, 'ParameterValue', $entry.Description)
                }
            }
        }
        'choice' {
            foreach ($choice in $choices) {
                if ($choice.StartsWith($wordToComplete, $ordinal)) {
                    [System.Management.Automation.CompletionResult]::new(
                        $choice, $choice, 'ParameterValue', $choice)
                }
            }
        }
        'directory' {
            $paths | Where-Object { $_.ResultType -eq 'ProviderContainer' }
        }
        'results-file' {
            # Results files and folders; every file where none of those matches.
            $preferred = @($paths | Where-Object {
                $_.ResultType -eq 'ProviderContainer' -or
                $_.ListItemText -like 'results_drives_tesk_windows*.txt' })
            if ($preferred.Count -gt 0) { $preferred } else { $paths }
        }
        'file' {
            $paths
        }
    }
}
