package visualizador.publicacao;

import java.nio.file.Path;
import java.time.LocalDateTime;
import java.util.Map;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.Ambiente;

/**
 * Publishes one scratch file for HOME as the viewer does, in a process of its own, so that a test
 * can run it in a mount namespace: prints the file, or the user's message with status 3.
 */
public final class PublicaNaPasta {
    private PublicaNaPasta() {}

    public static void main(String[] args) {
        try {
            System.out.println(ArquivoSaida.publicar(Path.of(args[1]), new Ambiente(Map.of(), Path.of(args[0])), "r",
                    Formato.PDF, LocalDateTime.of(2026, 12, 9, 15, 30, 0)));
        } catch (ErroRelatorio e) {
            System.out.println(e.getMessage());
            System.exit(3);
        }
    }
}
