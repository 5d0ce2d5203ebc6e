package visualizador.janela;

import java.io.IOException;
import java.nio.file.Path;
import visualizador.ErroRelatorio;
import visualizador.Formato;

/** Writes the report being previewed to a file of another format. */
@FunctionalInterface
public interface Exportador {
    /** Returns the file written: {@code destino}, or, for a table too long for .xls, that name as .xlsx. */
    Path exportar(Formato formato, Path destino) throws ErroRelatorio, IOException;
}
