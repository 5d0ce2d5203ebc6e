package visualizador.janela;

import java.io.IOException;
import java.nio.file.Path;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.OpcoesRelatorio;

/**
 * Runs the report being previewed again, with the given options, into a file of the given format:
 * what the preview's "Somente totais" and zero-stock toggles, and its "Salvar como…", need.
 */
@FunctionalInterface
public interface Reexecutor {
    /** Returns the file written (see {@link Exportador#exportar}). */
    Path gerar(Formato formato, Path destino, OpcoesRelatorio opcoes) throws ErroRelatorio, IOException;

    /** "Salvar como…" of the report as shown, run with {@code opcoes}. */
    default Exportador exportador(OpcoesRelatorio opcoes) {
        return (formato, destino) -> gerar(formato, destino, opcoes);
    }
}
