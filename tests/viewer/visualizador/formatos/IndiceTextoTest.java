package visualizador.formatos;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;

import java.io.ByteArrayOutputStream;
import java.nio.ByteBuffer;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.api.Test;
import visualizador.pagina.TextoComparavel;
import visualizador.pagina.TrechosDaPagina;

class IndiceTextoTest {
    /**
     * Pages read back while more are added: some already in the file, the latest still waiting
     * in memory, and reads that take some of each.
     */
    @Test
    void lePaginasDoArquivoEDasQueAindaEsperam() throws Exception {
        final List<byte[]> esperadas = new ArrayList<>();
        final TrechosDaPagina pagina = new TrechosDaPagina();
        try (IndiceTexto indice = new IndiceTexto()) {
            for (int p = 0; p < 300; p++) {
                final String corpo = "Página " + p + " ÚNICA 😀 " + "X".repeat(3000 + p);
                pagina.limpar();
                pagina.trecho(100, 200, 500, "B" + p, 0, ("B" + p).length(), false); // drawn first, read second
                pagina.trecho(20, 60, 700, corpo, 0, corpo.length(), false);
                indice.adicionar(pagina);
                esperadas.add(TextoComparavel.de(corpo + " b" + p));

                assertEquals(p + 1, indice.paginas());
                final int de = Math.max(0, p - 90);
                final ByteBuffer lidos = ByteBuffer.allocate((int) (indice.fim(p) - indice.inicio(de)));
                indice.ler(indice.inicio(de), lidos);
                assertEquals(lidos.capacity(), lidos.position());
                final ByteArrayOutputStream juntas = new ByteArrayOutputStream();
                for (int k = de; k <= p; k++) juntas.write(esperadas.get(k));
                assertArrayEquals(juntas.toByteArray(), lidos.array(), "pages " + de + " to " + p);
            }
            for (int p = 0; p < 300; p++) {
                final ByteBuffer b = ByteBuffer.allocate((int) (indice.fim(p) - indice.inicio(p)));
                indice.ler(indice.inicio(p), b);
                assertArrayEquals(esperadas.get(p), b.array(), "page " + p);
            }
            assertEquals(Arrays.stream(esperadas.toArray(byte[][]::new)).mapToLong(e -> e.length).sum(), indice.fim(299));
        }
    }
}
