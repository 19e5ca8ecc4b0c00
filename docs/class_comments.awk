# Prints each class or struct that a public header defines without a /// comment right above
# it (a template line may stand between): every public class says what it is for.
FNR == 1 { prev = "" }
/^[ \t]*(class|struct)[ \t]+(PLINTH_API[ \t]+)?[A-Za-z_][A-Za-z_0-9]*[^;]*$/ && !/^[ \t]*(class|struct)[ \t]+[A-Za-z_0-9]+[ \t]*;/ {
  if (prev !~ /^[ \t]*\/\/\//) { print FILENAME ":" FNR ": " $0 }
}
!/^[ \t]*template[ \t]*</ { prev = $0 }
