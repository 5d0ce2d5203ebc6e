package visualizador.saida;

import java.io.IOException;
import java.nio.file.Path;
import java.time.LocalDateTime;
import visualizador.Formato;
import visualizador.dados.Ambiente;

// STUB: to be written.
public final class ArquivoSaida {
    private ArquivoSaida() {}

    public static Path novo(Ambiente amb, String nome, Formato formato, LocalDateTime quando) throws IOException {
        return amb.home().resolve(nome + "." + formato.extensao());
    }

    public static void abrir(Path arquivo) {}
}
