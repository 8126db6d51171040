# bash completion for drives-tesk-results, written by `drives-tesk-results completions bash`
# from the program's own command line: generate it anew rather than edit it.

# Fills COMPREPLY with the paths that complete the word $2, taken as the shell will pass
# it (quotes and backslashes off): "dirs" directories, "files" every file, "results"
# results files and directories, or every file where none of those matches.
_drives_tesk_results_paths() {
  local word= i name
  for ((i = 0; i < ${#2}; i++)); do
    case ${2:i:1} in
      \\) ((i++)); word+=${2:i:1} ;;
      \' | \") ;;
      *) word+=${2:i:1} ;;
    esac
  done
  COMPREPLY=()
  # Quote what is inserted and mark directories; only possible while completing.
  compopt -o filenames 2>/dev/null
  if [[ $1 == dirs ]]; then
    while IFS= read -r name; do COMPREPLY+=("$name"); done < <(compgen -d -- "$word")
    return 0
  fi
  while IFS= read -r name; do
    if [[ $1 == files || -d $name || ${name##*/} == results_drives_tesk_windows*.txt ]]; then
      COMPREPLY+=("$name")
    fi
  done < <(compgen -f -- "$word")
  if [[ $1 == results && ${#COMPREPLY[@]} == 0 ]]; then
    _drives_tesk_results_paths files "$2"
  fi
}

_drives_tesk_results() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} command= i
  # --option=value arrives split at the '=' (COMP_WORDBREAKS).
  if [[ $cur == = ]]; then
    cur=
  elif [[ $prev == = ]]; then
    prev=${COMP_WORDS[COMP_CWORD-2]}
  fi
  # The command is the first word after the program that is no option: the program's own
  # options take no value.
  for ((i = 1; i < COMP_CWORD; i++)); do
    if [[ ${COMP_WORDS[i]} != -* ]]; then
      command=${COMP_WORDS[i]}
      break
    fi
  done
  COMPREPLY=()
  case $command in
    '')
      if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--help -h --version' -- "$cur"))
      else
        COMPREPLY=($(compgen -W 'show chart clean run' -- "$cur"))
      fi
      ;;
    'show')
      case $prev in
        --format)
          COMPREPLY=($(compgen -W 'text markdown csv json html' -- "$cur"))
          return
          ;;
        --label | --threshold | --baseline | --title)
          return # free text: nothing to offer
          ;;
      esac
      if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--help -h --label --format --each --threshold --baseline --title' -- "$cur"))
      else
        _drives_tesk_results_paths results "$cur"
      fi
      ;;
    'chart')
      case $prev in
        --output | -o)
          _drives_tesk_results_paths files "$cur"
          return
          ;;
        --label | --threshold | --baseline)
          return # free text: nothing to offer
          ;;
      esac
      if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--help -h --label --output -o --each --threshold --baseline' -- "$cur"))
      else
        _drives_tesk_results_paths results "$cur"
      fi
      ;;
    'clean')
      if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--help -h --yes -y' -- "$cur"))
      else
        _drives_tesk_results_paths dirs "$cur"
      fi
      ;;
    'run')
      case $prev in
        --benchmark)
          _drives_tesk_results_paths files "$cur"
          return
          ;;
        --progress)
          COMPREPLY=($(compgen -W 'auto json none' -- "$cur"))
          return
          ;;
        --format)
          COMPREPLY=($(compgen -W 'text markdown csv json html' -- "$cur"))
          return
          ;;
        --repeat | --max-runs | --budget | --decide | --threads | --timeout | --threshold | --baseline | --label | --title)
          return # free text: nothing to offer
          ;;
      esac
      if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--help -h --repeat --until-decided --max-runs --budget --decide --threads --benchmark --timeout --keep-scratch --threshold --baseline --label --progress --format --title' -- "$cur"))
      else
        _drives_tesk_results_paths dirs "$cur"
      fi
      ;;
    'completions')
      if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--help -h' -- "$cur"))
      else
        COMPREPLY=($(compgen -W 'bash zsh fish powershell' -- "$cur"))
      fi
      ;;
  esac
}

complete -F _drives_tesk_results drives-tesk-results
