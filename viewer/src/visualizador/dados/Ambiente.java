package visualizador.dados;

import java.nio.file.Path;
import java.util.Map;

/** The process environment and home folder, replaceable in tests. */
public record Ambiente(Map<String, String> variaveis, Path home) {

    public static Ambiente doProcesso() {
        return new Ambiente(System.getenv(), Path.of(System.getProperty("user.home")));
    }

    public String variavel(String nome) {
        final String v = variaveis.get(nome);
        return v == null || v.isEmpty() ? null : v;
    }
}
