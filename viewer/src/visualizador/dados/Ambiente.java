package visualizador.dados;

import java.nio.file.Path;
import java.util.Locale;
import java.util.Map;

/**
 * The process environment, home folder and kind of desktop, replaceable in tests: the Windows
 * rules (file locations, publishing) are chosen here once, so tests on Linux can pick them.
 */
public record Ambiente(Map<String, String> variaveis, Path home, Sistema sistema) {

    /** Where the viewer runs: the rules that differ are the file locations and publishing. */
    public enum Sistema {
        POSIX,
        WINDOWS;

        static Sistema doProcesso() {
            return System.getProperty("os.name", "").toLowerCase(Locale.ROOT).startsWith("windows") ? WINDOWS : POSIX;
        }
    }

    public Ambiente(Map<String, String> variaveis, Path home) {
        this(variaveis, home, Sistema.POSIX);
    }

    /**
     * HOME as the desktop and libpq see it (Java's user.home comes from the password file
     * instead); on Windows, where HOME is usually unset, USERPROFILE.
     */
    public static Ambiente doProcesso() {
        final Sistema sistema = Sistema.doProcesso();
        String home = System.getenv("HOME");
        if ((home == null || home.isEmpty()) && sistema == Sistema.WINDOWS) home = System.getenv("USERPROFILE");
        return new Ambiente(System.getenv(),
                Path.of(home != null && !home.isEmpty() ? home : System.getProperty("user.home")), sistema);
    }

    public boolean windows() {
        return sistema == Sistema.WINDOWS;
    }

    public String variavel(String nome) {
        final String v = variaveis.get(nome);
        return v == null || v.isEmpty() ? null : v;
    }
}
