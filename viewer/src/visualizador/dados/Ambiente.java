package visualizador.dados;

import java.nio.file.Path;
import java.util.Map;

/** The process environment and home folder, replaceable in tests. */
public record Ambiente(Map<String, String> variaveis, Path home) {

    /** HOME as the desktop and libpq see it; Java's user.home comes from the password file instead. */
    public static Ambiente doProcesso() {
        final String home = System.getenv("HOME");
        return new Ambiente(System.getenv(), Path.of(home != null && !home.isEmpty() ? home : System.getProperty("user.home")));
    }

    public String variavel(String nome) {
        final String v = variaveis.get(nome);
        return v == null || v.isEmpty() ? null : v;
    }
}
